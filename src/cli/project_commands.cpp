// The project commands: create, list, show and change projects and their records.
//
// Every argument is checked before a project is loaded, so a usage error (exit 2) never
// depends on the project; a change goes through the same operations as the editor's command
// panel and is saved with SaveProject.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/record.h"
#include "model/references.h"
#include "model/workspace.h"
#include "platform/numbers.h"

namespace qbcli {
namespace {

using qb::StrictNumber;

void PrintLine(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

// An INI value is one line: a line break would end the key and start a stray entry.
bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// An argument read as a number: malformed text is a usage error, a well-formed number outside
// the range is refused by the caller with its own reason.
StrictNumber ReadNumber(const std::string& text, std::int64_t min, std::int64_t max,
                        std::int64_t& out) {
    return qb::ParseStrictDecimal(text, min, max, out);
}

// Object IDs are signed 32-bit. A decimal number outside that range names no object.
struct IdArgument {
    bool wellFormed = false;
    std::optional<std::int32_t> id;  // empty: out of range
};
IdArgument ReadId(const std::string& text) {
    std::int64_t value = 0;
    switch (ReadNumber(text, INT32_MIN, INT32_MAX, value)) {
    case StrictNumber::Ok: return {true, static_cast<std::int32_t>(value)};
    case StrictNumber::OutOfRange: return {true, std::nullopt};
    case StrictNumber::NotANumber: break;
    }
    return {};
}

int NoSuchObject(const std::string& idText) { return Fail("no object with ID " + idText); }

// The object named by an ID argument in a loaded project, or null after saying so.
qb::ObjectRecord* ObjectOf(int projectIndex, const IdArgument& id, const std::string& idText) {
    qb::ObjectRecord* object = id.id ? qb::FindObject(*id.id, projectIndex) : nullptr;
    if (!object) NoSuchObject(idText);
    return object;
}

std::string FolderNameOf(const std::string& path) { return qb::FileNameOfPath(path); }

// ---- new ---------------------------------------------------------------------------------

std::optional<std::uint32_t> ReadGameType(const std::string& text) {
    static constexpr std::string_view kNames[] = {"shootemup", "racing",  "platform", "soccer",
                                                  "music",     "curling", "jigsaw"};
    for (std::uint32_t code = 0; code < qb::kGameTypeCount; ++code)
        if (text == kNames[code]) return code;
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '6')
        return static_cast<std::uint32_t>(text[0] - '0');
    return std::nullopt;
}

int NewCommand(const std::vector<std::string>& args) {
    std::optional<std::string> name;
    std::string typeText = "shootemup";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--type" && i + 1 < args.size()) {
            typeText = args[++i];
        } else if (args[i].starts_with("--type=")) {
            typeText = args[i].substr(7);
        } else if (args[i].starts_with("--") || name) {
            return UsageError("new");
        } else {
            name = args[i];
        }
    }
    const std::optional<std::uint32_t> gameType = ReadGameType(typeText);
    if (!name || !gameType) return UsageError("new");
    // The name field of the New project dialog holds 259 characters.
    const std::string projectName = qb::CutText(*name, qb::kMaxPathLength);
    if (!qb::IsValidProjectName(projectName) || HasLineBreak(projectName))
        return Fail("invalid project name: " + *name);

    namespace fs = std::filesystem;
    const std::string projects = qb::ProjectsFolder();
    std::error_code ec;
    if (!fs::is_directory(projects, ec)) return Fail("projects folder not found: " + projects);
    const std::string folder = qb::MakeUniquePath(projects, projectName, "");
    if (folder.empty())
        return Fail("the name is too long for a folder: a folder name holds at most " +
                    std::to_string(qb::kMaxFileNameLength) + " bytes and its path at most " +
                    std::to_string(qb::kMaxPathLength) + " characters (" + projects + "/...)");
    if (!fs::create_directory(folder, ec) || ec)
        return Fail("cannot create the folder " + folder + ": " + ec.message());

    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = projectName;
    ws.pendingProjectFolder = folder;
    ws.chosenGameType = *gameType;
    const int index = qb::CreateProject(*gameType);
    if (!qb::SaveProject(index)) {
        fs::remove(folder, ec);  // only while still empty: never removes anything else
        return MessageShown() ? kFailed : Fail("the project could not be saved in " + folder);
    }
    PrintLine(FolderNameOf(folder));
    return kDone;
}

// ---- list, show --------------------------------------------------------------------------

int ListCommand(const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError("list");
    for (const qb::ProjectListEntry& entry : qb::ListProjects())
        PrintLine(entry.folderName + "\t" + entry.projectName);
    return kDone;
}

int ShowCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("show");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    const qb::ProjectRecord& project = *qb::ProjectAt(index);
    for (std::size_t i = 0; i < project.objects.size(); ++i) {
        const qb::ObjectRecord& object = project.objects[i];
        PrintLine(std::to_string(i) + "\t" + std::to_string(object.IDoggetto) + "\t" +
                  std::to_string(object.tipoOggetto) + "\t" +
                  std::to_string(object.sottoTipoOggetto) + "\t" +
                  std::to_string(object.dimDatiOggetto()) + "\t" + object.sDescrizione);
    }
    return kDone;
}

// ---- add, copy-item, delete-item, copy-project --------------------------------------------

int AddCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("add");
    std::int64_t type = 0;
    const StrictNumber read = ReadNumber(args[1], 0, UINT32_MAX, type);
    if (read == StrictNumber::NotANumber) return UsageError("add");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;

    const qb::ObjectRecord* group = nullptr;
    if (read == StrictNumber::Ok) {
        for (const qb::ObjectRecord& object : qb::ProjectAt(index)->objects) {
            if (object.tipoOggetto == 0 && object.sottoTipoOggetto == type) {
                group = &object;
                break;
            }
        }
    }
    if (!group) return Fail("no group of type " + args[1] + " in this project");
    const auto itemType = static_cast<std::uint32_t>(type);
    if (!qb::IsNewItemAllowed(itemType))
        return Fail("New item is not allowed in the group \"" + group->sDescrizione + "\"");
    if (qb::IsSingletonType(itemType) && qb::HasObjectOfType(index, itemType))
        return Fail("the project already has its one item of type " + args[1]);
    const std::int32_t id = qb::NewItem(index, group->IDoggetto);
    if (id == 0) return MessageShown() ? kFailed : Fail("no item was created");
    PrintLine(std::to_string(id));
    return kDone;
}

int CopyItemCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("copy-item");
    const IdArgument id = ReadId(args[1]);
    if (!id.wellFormed) return UsageError("copy-item");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    const qb::ObjectRecord* object = ObjectOf(index, id, args[1]);
    if (!object) return kFailed;
    if (!qb::IsCopyAllowed(object->tipoOggetto))
        return Fail("Copy item is not allowed for objects of type " +
                    std::to_string(object->tipoOggetto));
    const std::int32_t copy = qb::CopyItem(index, *id.id);
    if (copy == 0) return MessageShown() ? kFailed : Fail("no copy was made");
    PrintLine(std::to_string(copy));
    return kDone;
}

int DeleteItemCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("delete-item");
    const IdArgument id = ReadId(args[1]);
    if (!id.wellFormed) return UsageError("delete-item");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    const qb::ObjectRecord* object = ObjectOf(index, id, args[1]);
    if (!object) return kFailed;
    if (!qb::IsObjectDeletable(index, *object))
        return Fail("this object cannot be deleted: its type is never deleted or another item "
                    "uses it");
    // Running the command is the user's OK to the delete confirmation.
    if (!qb::DeleteItem(index, *id.id)) return MessageShown() ? kFailed : Fail("not deleted");
    return kDone;
}

// The items whose records name the object, in project order: ID, type code and description.
int UsesCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("uses");
    const IdArgument id = ReadId(args[1]);
    if (!id.wellFormed) return UsageError("uses");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    if (!ObjectOf(index, id, args[1])) return kFailed;
    qb::ProjectRecord& project = *qb::ProjectAt(index);
    for (const std::int32_t user : qb::ItemUses(project, *id.id)) {
        const qb::ObjectRecord* object = qb::FindObject(project, user);
        std::printf("%d\t%u\t", user, object->tipoOggetto);
        PrintLine(object->sDescrizione);
    }
    return kDone;
}

int CopyProjectCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("copy-project");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    const int copy = qb::CopyProject(index);
    if (copy < 0) return MessageShown() ? kFailed : Fail("the project could not be copied");
    PrintLine(FolderNameOf(qb::ProjectAt(copy)->sPathProgetto));
    return kDone;
}

// ---- get, set, describe ------------------------------------------------------------------

struct FieldKind {
    enum Kind { U32, I32, U16, U8, Text, Hex } kind = U32;
    std::string name;
    std::uint64_t width = 0;
    bool tooWide = false;  // a width no record can hold
};

std::optional<FieldKind> ReadKind(const std::string& text) {
    static const struct {
        std::string_view name;
        FieldKind::Kind kind;
        std::uint64_t width;
    } kFixed[] = {{"u32", FieldKind::U32, 4},
                  {"i32", FieldKind::I32, 4},
                  {"u16", FieldKind::U16, 2},
                  {"u8", FieldKind::U8, 1}};
    for (const auto& fixed : kFixed)
        if (text == fixed.name) return FieldKind{fixed.kind, text, fixed.width, false};
    FieldKind field;
    std::string widthText;
    if (text.starts_with("text:")) {
        field.kind = FieldKind::Text;
        widthText = text.substr(5);
    } else if (text.starts_with("hex:")) {
        field.kind = FieldKind::Hex;
        widthText = text.substr(4);
    } else {
        return std::nullopt;
    }
    field.name = text;
    if (widthText.empty() || widthText[0] == '+' || widthText[0] == '-') return std::nullopt;
    std::int64_t width = 0;
    switch (ReadNumber(widthText, 1, UINT32_MAX, width)) {
    case StrictNumber::Ok: field.width = static_cast<std::uint64_t>(width); break;
    case StrictNumber::OutOfRange:
        if (widthText.find_first_not_of('0') == std::string::npos) return std::nullopt;  // 0
        field.tooWide = true;
        break;
    case StrictNumber::NotANumber: return std::nullopt;
    }
    return field;
}

// Offsets are unsigned decimal; one beyond every record size is just outside the record.
struct OffsetArgument {
    bool wellFormed = false;
    std::optional<std::uint64_t> offset;
};
OffsetArgument ReadOffset(const std::string& text) {
    if (text.empty() || text[0] == '+' || text[0] == '-') return {};
    std::int64_t value = 0;
    switch (ReadNumber(text, 0, UINT32_MAX, value)) {
    case StrictNumber::Ok: return {true, static_cast<std::uint64_t>(value)};
    case StrictNumber::OutOfRange: return {true, std::nullopt};
    case StrictNumber::NotANumber: break;
    }
    return {};
}

// Whether the field lies inside the record; says why not.
bool FieldInside(const qb::ObjectRecord& object, const OffsetArgument& offset,
                 const FieldKind& kind, const std::string& offsetText) {
    const qb::ConstRecordView record = object.record();
    if (offset.offset && !kind.tooWide && record.holds(*offset.offset, kind.width)) return true;
    Fail("the field " + kind.name + " at offset " + offsetText + " lies outside the record of " +
         std::to_string(record.size()) + " bytes of object " + std::to_string(object.IDoggetto));
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int GetCommand(const std::vector<std::string>& args) {
    if (args.size() != 4) return UsageError("get");
    const IdArgument id = ReadId(args[1]);
    const OffsetArgument offset = ReadOffset(args[2]);
    const std::optional<FieldKind> kind = ReadKind(args[3]);
    if (!id.wellFormed || !offset.wellFormed || !kind) return UsageError("get");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    qb::ObjectRecord* object = ObjectOf(index, id, args[1]);
    if (!object || !FieldInside(*object, offset, *kind, args[2])) return kFailed;

    const qb::ConstRecordView record = std::as_const(*object).record();
    const std::size_t at = static_cast<std::size_t>(*offset.offset);
    const std::size_t width = static_cast<std::size_t>(kind->width);
    switch (kind->kind) {
    case FieldKind::U32: PrintLine(std::to_string(record.u32(at))); break;
    case FieldKind::I32: PrintLine(std::to_string(record.i32(at))); break;
    case FieldKind::U16: PrintLine(std::to_string(record.u16(at))); break;
    case FieldKind::U8: PrintLine(std::to_string(record.u8(at))); break;
    case FieldKind::Text: PrintLine(record.text(at, width)); break;
    case FieldKind::Hex: PrintLine(qb::EncodeHex(record.bytes(at, width))); break;
    }
    return kDone;
}

int SetCommand(const std::vector<std::string>& args) {
    if (args.size() != 5) return UsageError("set");
    const IdArgument id = ReadId(args[1]);
    const OffsetArgument offset = ReadOffset(args[2]);
    const std::optional<FieldKind> kind = ReadKind(args[3]);
    if (!id.wellFormed || !offset.wellFormed || !kind) return UsageError("set");
    const std::string& valueText = args[4];

    // The value is checked against its kind before anything is loaded.
    std::int64_t number = 0;
    if (kind->kind == FieldKind::Hex) {
        if (kind->tooWide || valueText.size() != 2 * kind->width) {
            std::fprintf(stderr, "%s takes exactly %s hex digits\n", kind->name.c_str(),
                         kind->tooWide ? "2N" : std::to_string(2 * kind->width).c_str());
            return UsageError("set");
        }
        for (char c : valueText)
            if (HexDigit(c) < 0) return UsageError("set");
    } else if (kind->kind != FieldKind::Text) {
        std::int64_t min = 0, max = 0;
        switch (kind->kind) {
        case FieldKind::U32: max = UINT32_MAX; break;
        case FieldKind::I32: min = INT32_MIN, max = INT32_MAX; break;
        case FieldKind::U16: max = UINT16_MAX; break;
        default: max = UINT8_MAX; break;
        }
        switch (ReadNumber(valueText, min, max, number)) {
        case StrictNumber::Ok: break;
        case StrictNumber::NotANumber: return UsageError("set");
        case StrictNumber::OutOfRange:
            return Fail("the value " + valueText + " is outside the range of " + kind->name + " (" +
                        std::to_string(min) + " to " + std::to_string(max) + ")");
        }
    }

    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    qb::ObjectRecord* object = ObjectOf(index, id, args[1]);
    if (!object || !FieldInside(*object, offset, *kind, args[2])) return kFailed;

    qb::RecordView record = object->record();
    const std::size_t at = static_cast<std::size_t>(*offset.offset);
    const std::size_t width = static_cast<std::size_t>(kind->width);
    bool written = false;
    switch (kind->kind) {
    case FieldKind::U32: written = record.setU32(at, static_cast<std::uint32_t>(number)); break;
    case FieldKind::I32: written = record.setI32(at, static_cast<std::int32_t>(number)); break;
    case FieldKind::U16: written = record.setU16(at, static_cast<std::uint16_t>(number)); break;
    case FieldKind::U8: written = record.setU8(at, static_cast<std::uint8_t>(number)); break;
    case FieldKind::Text: written = record.setText(at, width, valueText); break;
    case FieldKind::Hex: {
        qb::Bytes bytes(width);
        for (std::size_t i = 0; i < width; ++i)
            bytes[i] = static_cast<std::uint8_t>(HexDigit(valueText[2 * i]) * 16 +
                                                 HexDigit(valueText[2 * i + 1]));
        written = record.setBytes(at, bytes.data(), bytes.size());
        break;
    }
    }
    if (!written) return Fail("the field could not be written");
    const qb::ChangeLabel change("Set " + args[2] + " " + args[3] + " of " + object->sDescrizione,
                                 object->IDoggetto);
    if (!qb::SaveProject(index)) return MessageShown() ? kFailed : Fail("the project was not saved");
    return kDone;
}

int DescribeCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) return UsageError("describe");
    const IdArgument id = ReadId(args[1]);
    if (!id.wellFormed) return UsageError("describe");
    if (HasLineBreak(args[2])) return Fail("a description cannot hold a line break");
    const int index = OpenProjectFolder(args[0]);
    if (index < 0) return kFailed;
    qb::ObjectRecord* object = ObjectOf(index, id, args[1]);
    if (!object) return kFailed;
    const qb::ChangeLabel change("Describe " + object->sDescrizione, object->IDoggetto);
    object->sDescrizione = qb::CutText(args[2], qb::kMaxNameLength);
    if (!qb::SaveProject(index)) return MessageShown() ? kFailed : Fail("the project was not saved");
    return kDone;
}

const CliRegistration kNew{{"new", "new NAME [--type T]   T: 0..6, shootemup, racing, platform, "
                                   "soccer, music, curling, jigsaw",
                            NewCommand}};
const CliRegistration kList{{"list", "list", ListCommand}};
const CliRegistration kShow{{"show", "show FOLDER", ShowCommand}};
const CliRegistration kAdd{{"add", "add FOLDER TYPE", AddCommand}};
const CliRegistration kCopyItem{{"copy-item", "copy-item FOLDER ID", CopyItemCommand}};
const CliRegistration kDeleteItem{{"delete-item", "delete-item FOLDER ID", DeleteItemCommand}};
const CliRegistration kUses{{"uses", "uses FOLDER ID", UsesCommand}};
const CliRegistration kCopyProject{{"copy-project", "copy-project FOLDER", CopyProjectCommand}};
const CliRegistration kGet{{"get", "get FOLDER ID OFFSET KIND", GetCommand}};
const CliRegistration kSet{{"set", "set FOLDER ID OFFSET KIND VALUE", SetCommand}};
const CliRegistration kDescribe{{"describe", "describe FOLDER ID TEXT", DescribeCommand}};

} // namespace
} // namespace qbcli
