#include "model/projectfile.h"

#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "model/workspace.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using qbtest::ReadFile;
using qbtest::WriteFile;

namespace {

class ProjectFileTest : public ::testing::Test {
protected:
    qbtest::TempAppFolder app;

    fs::path folder(const std::string& name) {
        const fs::path p = app.projects() / name;
        fs::create_directories(p);
        return p;
    }
    // A project in the workspace whose folder is Projects/name.
    int makeProject(const std::string& name, std::uint32_t gameType = 0) {
        return qb::AppendProject(qb::InitProjectRecord(gameType, "Game", folder(name).string()));
    }
    std::string iniOf(const std::string& name) {
        return ReadFile(app.projects() / name / "project.ini");
    }
    void writeIni(const std::string& name, std::string_view text) {
        WriteFile(folder(name) / "project.ini", text);
    }
    // Loading must be refused with one message, adding nothing and leaving the file alone.
    void expectRefused(const std::string& name, const std::string& messagePart) {
        const std::string before = iniOf(name);
        const int projects = qb::Workspace().projectCount();
        app.messages.texts.clear();
        EXPECT_EQ(qb::LoadProject(name), -1);
        EXPECT_EQ(qb::Workspace().projectCount(), projects);
        ASSERT_EQ(app.messages.texts.size(), 1u);
        EXPECT_NE(app.messages.texts[0].find(messagePart), std::string::npos)
            << app.messages.texts[0];
        EXPECT_EQ(app.messages.captions[0], "Quillbox");
        EXPECT_EQ(iniOf(name), before);
    }
};

qb::Bytes Words(std::initializer_list<std::uint32_t> words) {
    qb::Bytes b(words.size() * 4, 0);
    qb::RecordView v(b);
    std::size_t o = 0;
    for (std::uint32_t w : words) {
        v.setU32(o, w);
        o += 4;
    }
    return b;
}

qb::Bytes Random(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    qb::Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(rng());
    return b;
}

std::string Header(int count, const char* version = "versioneProgetto=70\r\n") {
    return "[main]\r\nsNomeProgetto=Game\r\ntipoGioco=0\r\nnOggetti=" + std::to_string(count) +
           "\r\n" + version;
}

std::string Section(int i, int id, int type, int size, const std::string& pieces = "") {
    return "[oggetto" + std::to_string(i) + "]\r\nIDoggetto=" + std::to_string(id) +
           "\r\ntipoOggetto=" + std::to_string(type) +
           "\r\nsottoTipoOggetto=0\r\nsDescrizione=item\r\ndimDatiOggetto=" +
           std::to_string(size) + "\r\n" + pieces;
}

std::string Pieces(const qb::Bytes& data) {
    const std::string hex = qb::EncodeHex(data);
    std::string out;
    for (std::size_t k = 0; k * 240 < hex.size(); ++k)
        out += "lpDatiOggetto_" + std::to_string(k + 1) + "=" + hex.substr(k * 240, 240) + "\r\n";
    return out;
}

} // namespace

TEST_F(ProjectFileTest, SavedFileHasTheExactLayout) {
    const int index = makeProject("Game");
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    qb::AddObject(p, 0, 1, nullptr, 0, "Parameters", -1);
    qb::AddObject(p, 11, 0, Words({0, 150, 0, 0}), "Vectorial animation", -1);
    ASSERT_TRUE(qb::SaveProject(index));
    EXPECT_EQ(iniOf("Game"),
              "[main]\r\nsNomeProgetto=Game\r\ntipoGioco=0\r\nnOggetti=2\r\nversioneProgetto=70\r\n"
              "[oggetto0]\r\nIDoggetto=1\r\ntipoOggetto=0\r\nsottoTipoOggetto=1\r\n"
              "sDescrizione=Parameters\r\ndimDatiOggetto=0\r\n"
              "[oggetto1]\r\nIDoggetto=2\r\ntipoOggetto=11\r\nsottoTipoOggetto=0\r\n"
              "sDescrizione=Vectorial animation\r\ndimDatiOggetto=16\r\n"
              "lpDatiOggetto_1=00000000960000000000000000000000\r\n");
    EXPECT_TRUE(app.messages.texts.empty());
}

TEST_F(ProjectFileTest, RecordsAreCutIntoPiecesOf240Digits) {
    const int index = makeProject("Pieces");
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    qb::Bytes small(121, 0x0a);
    qb::AddObject(p, 12, 0, qb::Bytes(120, 0xff), "a", -1);
    qb::AddObject(p, 12, 0, small, "b", -1);
    qb::AddObject(p, 600, 1, qb::Bytes(888, 1), "c", -1);
    qb::AddObject(p, 1, 1, qb::Bytes(1396, 2), "d", -1);
    ASSERT_TRUE(qb::SaveProject(index));
    qb::ProfileFile f;
    ASSERT_TRUE(f.load((app.projects() / "Pieces" / "project.ini").string()));
    auto piece = [&](int object, int k) {
        return f.getString("oggetto" + std::to_string(object), "lpDatiOggetto_" + std::to_string(k),
                           "<none>", 1000);
    };
    EXPECT_EQ(piece(0, 1), std::string(240, 'f'));
    EXPECT_EQ(piece(0, 2), "<none>");
    EXPECT_EQ(piece(1, 1), [] { std::string s; for (int i = 0; i < 120; ++i) s += "0a"; return s; }());
    EXPECT_EQ(piece(1, 2), "0a");
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(piece(2, k).size(), 240u);
    EXPECT_EQ(piece(2, 8).size(), 96u);
    EXPECT_EQ(piece(2, 9), "<none>");
    EXPECT_EQ(piece(3, 11).size(), 240u);
    EXPECT_EQ(piece(3, 12).size(), 152u);
    EXPECT_EQ(piece(3, 13), "<none>");
}

TEST_F(ProjectFileTest, ProjectsComeBackAsTheyWereSaved) {
    const int index = makeProject("Round");
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    p.tipoGioco = 5;
    p.sNomeProgetto = "Round trip";
    qb::AddObject(p, 0, 500, nullptr, 0, "Parameters", -1);
    qb::AddObject(p, 500, 1, Random(1928, 1), "Main parameters", -1);
    qb::AddObject(p, 508, 0, Random(24084, 2), "Pachinko data", -1);
    qb::AddObject(p, 507, 0, Random(952, 3), "Pachinko element informations", 40);
    qb::AddObject(p, 11, 0, Random(7, 4), "odd size", -1);
    ASSERT_TRUE(qb::SaveProject(index));
    const qb::ProjectRecord saved = p;

    const int loaded = qb::LoadProject("Round");
    ASSERT_EQ(loaded, index + 1);
    const qb::ProjectRecord& q = *qb::ProjectAt(loaded);
    EXPECT_EQ(q.tipoGioco, 5u);
    EXPECT_EQ(q.sNomeProgetto, "Round trip");
    EXPECT_EQ(q.sPathProgetto, (app.projects() / "Round").string());
    ASSERT_EQ(q.objectCount(), saved.objectCount());
    for (std::size_t i = 0; i < q.objects.size(); ++i) {
        EXPECT_EQ(q.objects[i].IDoggetto, saved.objects[i].IDoggetto);
        EXPECT_EQ(q.objects[i].tipoOggetto, saved.objects[i].tipoOggetto);
        EXPECT_EQ(q.objects[i].sottoTipoOggetto, saved.objects[i].sottoTipoOggetto);
        EXPECT_EQ(q.objects[i].sDescrizione, saved.objects[i].sDescrizione);
        EXPECT_EQ(q.objects[i].lpDatiOggetto, saved.objects[i].lpDatiOggetto) << i;
    }
    EXPECT_EQ(qb::FindObject(40, loaded)->tipoOggetto, 507u);
}

TEST_F(ProjectFileTest, SavingTwiceWithoutChangesLeavesTheFileAlone) {
    const int index = makeProject("Twice");
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    qb::AddObject(p, 0, 1, nullptr, 0, "Parameters", -1);
    qb::AddObject(p, 3, 0, Random(276, 9), "Sprites", -1);
    ASSERT_TRUE(qb::SaveProject(index));
    const fs::path ini = app.projects() / "Twice" / "project.ini";
    const std::string first = ReadFile(ini);
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);
    ASSERT_TRUE(qb::SaveProject(index));
    struct stat after {};
    ASSERT_EQ(::stat(ini.c_str(), &after), 0);
    EXPECT_EQ(ReadFile(ini), first);
    EXPECT_EQ(before.st_ino, after.st_ino);  // not even rewritten

    // One changed byte changes one piece and nothing else.
    p.objects[1].lpDatiOggetto[200] ^= 0xff;
    ASSERT_TRUE(qb::SaveProject(index));
    const std::string second = ReadFile(ini);
    ASSERT_EQ(second.size(), first.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < first.size(); ++i) differing += first[i] != second[i];
    EXPECT_GE(differing, 1u);
    EXPECT_LE(differing, 2u);
}

TEST_F(ProjectFileTest, DeletedAndShortenedObjectsLeaveTheirKeys) {
    const int index = makeProject("Del");
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    qb::AddObject(p, 12, 0, qb::Bytes(256, 1), "a", -1);
    qb::AddObject(p, 12, 0, qb::Bytes(256, 2), "b", -1);
    qb::AddObject(p, 12, 0, qb::Bytes(256, 3), "c", -1);
    ASSERT_TRUE(qb::SaveProject(index));
    qb::DeleteObject(index, 3);
    p.objects[0].lpDatiOggetto.resize(100);
    ASSERT_TRUE(qb::SaveProject(index));
    const std::string ini = iniOf("Del");
    EXPECT_NE(ini.find("nOggetti=2\r\n"), std::string::npos);
    EXPECT_NE(ini.find("[oggetto2]\r\nIDoggetto=3\r\n"), std::string::npos);
    EXPECT_NE(ini.find("dimDatiOggetto=100\r\nlpDatiOggetto_1="), std::string::npos);
    EXPECT_NE(ini.find("lpDatiOggetto_3=0101"), std::string::npos);  // left from the longer record

    const int loaded = qb::LoadProject("Del");
    ASSERT_GE(loaded, 0);
    const qb::ProjectRecord& q = *qb::ProjectAt(loaded);
    ASSERT_EQ(q.objectCount(), 2u);
    // Type 12 grows back to its minimum on load: the zero tail, not the stale pieces.
    ASSERT_EQ(q.objects[0].dimDatiOggetto(), 256u);
    EXPECT_EQ(q.objects[0].lpDatiOggetto[99], 1);
    EXPECT_EQ(q.objects[0].lpDatiOggetto[100], 0);
    EXPECT_EQ(q.objects[0].lpDatiOggetto[255], 0);
}

TEST_F(ProjectFileTest, VersionsUpTo70OpenAndNewerAreRefused) {
    writeIni("V70", Header(0));
    writeIni("V1", Header(0, "versioneProgetto=1\r\n"));
    writeIni("NoKey", Header(0, ""));
    writeIni("V71", Header(0, "versioneProgetto=71\r\n"));
    writeIni("V999", Header(0, "versioneProgetto=999\r\n"));
    EXPECT_EQ(qb::LoadProject("V70"), 0);
    EXPECT_EQ(qb::LoadProject("V1"), 1);
    EXPECT_EQ(qb::LoadProject("NoKey"), 2);
    EXPECT_TRUE(app.messages.texts.empty());
    expectRefused("V71", "Sorry, this project is not compatible, please update Quillbox!");
    EXPECT_EQ(app.messages.texts[0], "Sorry, this project is not compatible, please update Quillbox!");
    expectRefused("V999", "Sorry, this project is not compatible, please update Quillbox!");
}

TEST_F(ProjectFileTest, MissingFileOpensAsAnEmptyProject) {
    folder("Empty");
    const int index = qb::LoadProject("Empty");
    ASSERT_EQ(index, 0);
    EXPECT_EQ(qb::ProjectAt(index)->objectCount(), 0u);
    EXPECT_EQ(qb::ProjectAt(index)->tipoGioco, 0u);
    EXPECT_EQ(qb::ProjectAt(index)->sNomeProgetto, "");
    EXPECT_FALSE(fs::exists(app.projects() / "Empty" / "project.ini"));  // loading writes nothing
}

TEST_F(ProjectFileTest, FileBackedPathsMoveToTheProjectFolder) {
    auto pathRecord = [](std::string_view path, std::size_t size) {
        qb::Bytes b(size, 0);
        qb::RecordView(b).setText(0, 260, path);
        return b;
    };
    qb::Bytes unterminated(276, 'x');
    unterminated[100] = '\\';
    qb::Bytes noName(268, 0);
    qb::RecordView(noName).setText(0, 260, "D:\\old\\place\\");
    writeIni("Rebase", Header(6) +
                           Section(0, 1, 3, 276, Pieces(pathRecord("D:\\old\\place\\Sprites_2.png", 276))) +
                           Section(1, 2, 5, 272, Pieces(pathRecord("/home/someone/Projects/X/Shot.mp3", 272))) +
                           Section(2, 3, 104, 268, Pieces(pathRecord("C:/mixed\\sep/Back.png", 268))) +
                           Section(3, 4, 3, 276, Pieces(unterminated)) +
                           Section(4, 5, 13, 268, Pieces(noName)) +
                           Section(5, 6, 7, 884, Pieces(pathRecord("D:\\not\\a\\file\\type.png", 884))));
    const std::string before = iniOf("Rebase");
    const int index = qb::LoadProject("Rebase");
    ASSERT_GE(index, 0) << (app.messages.texts.empty() ? "" : app.messages.texts[0]);
    const qb::ProjectRecord& p = *qb::ProjectAt(index);
    const std::string f = (app.projects() / "Rebase").string();
    EXPECT_EQ(p.objects[0].record().text(0, 260), f + "/Sprites_2.png");
    EXPECT_EQ(p.objects[1].record().text(0, 260), f + "/Shot.mp3");
    EXPECT_EQ(p.objects[2].record().text(0, 260), f + "/Back.png");
    EXPECT_EQ(p.objects[3].record().text(0, 260), f + "/" + std::string(159, 'x'));
    EXPECT_EQ(p.objects[3].record().u8(260), 'x');  // the rest of the record is untouched
    EXPECT_EQ(p.objects[4].record().text(0, 260), "");
    EXPECT_EQ(p.objects[5].record().text(0, 260), "D:\\not\\a\\file\\type.png");
    EXPECT_EQ(p.objects[3].dimDatiOggetto(), 276u);
    EXPECT_EQ(iniOf("Rebase"), before);  // the file keeps the old paths until the next save
}

TEST_F(ProjectFileTest, ARebasedPathThatDoesNotFitRefusesTheLoad) {
    const std::string longName(250, 'n');
    qb::Bytes b(276, 0);
    qb::RecordView(b).setText(0, 260, "D:\\" + longName + ".png");
    writeIni("Long", Header(1) + Section(0, 1, 3, 276, Pieces(b)));
    expectRefused("Long", "longer than 259 characters");

    // A folder path that would not fit the project's own field.
    qb::ProjectRecord out;
    std::string error;
    qb::ProfileFile empty;
    EXPECT_FALSE(qb::ReadProject(empty, "/" + std::string(259, 'f'), out, &error));
    EXPECT_NE(error.find("longer than 259"), std::string::npos);
    EXPECT_TRUE(qb::ReadProject(empty, "/" + std::string(258, 'f'), out, &error));
}

TEST_F(ProjectFileTest, OlderShorterRecordsGrowToTheirMinimum) {
    qb::Bytes level = Words({7, 3});
    level.resize(100, 0x55);
    writeIni("Grow", Header(6) + Section(0, 1, 7, 884, Pieces(qb::Bytes(884, 0x11))) +
                         Section(1, 2, 7, 800, Pieces(qb::Bytes(800, 0x22))) +
                         Section(2, 3, 7, 1000, Pieces(qb::Bytes(1000, 0x33))) +
                         Section(3, 4, 8, 100, Pieces(level)) +
                         Section(4, 5, 8, 200, Pieces(level)) +
                         Section(5, 6, 11, 8, Pieces(qb::Bytes(8, 0x44))));
    const int index = qb::LoadProject("Grow");
    ASSERT_GE(index, 0);
    const qb::ProjectRecord& p = *qb::ProjectAt(index);
    EXPECT_EQ(p.objects[0].dimDatiOggetto(), 884u);  // already the minimum on load
    ASSERT_EQ(p.objects[1].dimDatiOggetto(), 884u);
    EXPECT_EQ(p.objects[1].lpDatiOggetto[799], 0x22);
    EXPECT_EQ(p.objects[1].lpDatiOggetto[800], 0);
    EXPECT_EQ(p.objects[1].lpDatiOggetto[883], 0);
    EXPECT_EQ(p.objects[2].dimDatiOggetto(), 1000u);
    ASSERT_EQ(p.objects[3].dimDatiOggetto(), 136u);  // 16 + 40 x 3
    EXPECT_EQ(p.objects[3].lpDatiOggetto[99], 0x55);
    EXPECT_EQ(p.objects[3].lpDatiOggetto[100], 0);
    EXPECT_EQ(p.objects[4].dimDatiOggetto(), 200u);
    EXPECT_EQ(p.objects[5].dimDatiOggetto(), 8u);  // vectorial animations never grow
}

TEST_F(ProjectFileTest, DamagedPiecesDecodeWhatTheyCan) {
    std::string text = Header(5);
    // Bad digits decode as 0, upper case is read, an odd last digit is ignored.
    text += Section(0, 1, 11, 6, "lpDatiOggetto_1=zz0gFFaBc\r\n");
    // A missing middle piece leaves its slice zero; an overlong piece stays in its slice.
    text += Section(1, 2, 11, 300,
                    "lpDatiOggetto_1=" + std::string(300, '7') + "\r\nlpDatiOggetto_3=" +
                        std::string(120, '9') + "\r\n");
    // Pieces one character long, missing entirely, or with blanks and quotes.
    text += Section(2, 3, 11, 4, "lpDatiOggetto_1=1\r\n");
    text += Section(3, 4, 11, 4, "");
    text += "[oggetto4]\r\n IDoggetto = 9 \r\ntipoOggetto=\"11\"\r\nsDescrizione=  \" spaced \"  \r\n"
            "dimDatiOggetto=2\r\nlpDatiOggetto_1 =  'abcd'  \r\n";
    writeIni("Bad", text);
    const int index = qb::LoadProject("Bad");
    ASSERT_GE(index, 0);
    const qb::ProjectRecord& p = *qb::ProjectAt(index);
    EXPECT_EQ(p.objects[0].lpDatiOggetto, (qb::Bytes{0, 0, 0xff, 0xab, 0, 0}));
    const qb::Bytes& b = p.objects[1].lpDatiOggetto;
    ASSERT_EQ(b.size(), 300u);
    EXPECT_EQ(b[119], 0x77);
    EXPECT_EQ(b[120], 0);  // slice 2: missing piece
    EXPECT_EQ(b[239], 0);
    EXPECT_EQ(b[240], 0x99);
    EXPECT_EQ(b[299], 0x99);
    EXPECT_EQ(p.objects[2].lpDatiOggetto, qb::Bytes(4, 0));
    EXPECT_EQ(p.objects[3].lpDatiOggetto, qb::Bytes(4, 0));
    EXPECT_EQ(p.objects[4].IDoggetto, 9);
    EXPECT_EQ(p.objects[4].tipoOggetto, 11u);
    EXPECT_EQ(p.objects[4].sDescrizione, " spaced ");
    EXPECT_EQ(p.objects[4].lpDatiOggetto, (qb::Bytes{0xab, 0xcd}));
}

TEST_F(ProjectFileTest, LoadingAnswersAsReadingTheDocumentWhateverTheLayout) {
    const qb::Bytes r0 = Random(1000, 10), r1 = Random(600, 11), r2 = Random(300, 12);
    const qb::Bytes r3 = Random(500, 13), r4 = Random(240, 14), other = Random(1000, 15);
    auto reversed = [](const qb::Bytes& data) {  // the same keys, last piece first
        const std::string pieces = Pieces(data);
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < pieces.size();) {
            const std::size_t end = pieces.find("\r\n", at) + 2;
            lines.push_back(pieces.substr(at, end - at));
            at = end;
        }
        std::string out;
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) out += *it;
        return out;
    };
    // Sections out of order, before [main] too, names in other cases, a second section of a
    // taken name, a name with a leading zero, a repeated piece, a piece one digit short,
    // quoted and upper-case pieces, and a section past nOggetti.
    std::string upper2 = Pieces(r2);
    for (std::size_t at = 0; (at = upper2.find("lpDatiOggetto_", at)) != std::string::npos; ++at)
        upper2.replace(at, 14, at == 0 ? "LPDATIOGGETTO_" : " lpdatioggetto_");
    std::string text = Section(2, 3, 11, 300, upper2) + Header(5);
    text += "[OGGETTO0]\r\nIDoggetto=1\r\ntipoOggetto=11\r\ndimDatiOggetto=1000\r\n" +
            reversed(r0);
    text += Section(0, 9, 11, 1000, Pieces(other));
    qb::Bytes r1changed = r1;
    r1changed[130] ^= 0xff;  // in the second slice, whose first entry is the right one
    text += Section(1, 2, 11, 600, "lpDatiOggetto_2=" + qb::EncodeHex(r1).substr(240, 240) +
                                       "\r\n" + Pieces(r1changed));
    text += "[oggetto01]\r\nIDoggetto=7\r\ndimDatiOggetto=600\r\n" + Pieces(other);
    std::string short3 = Pieces(r3);
    short3.erase(short3.find("lpDatiOggetto_3=") + 16 + 239, 1);  // its last digit lost
    text += Section(3, 4, 11, 500, "lpDatiOggetto_01=" + qb::EncodeHex(other).substr(0, 240) +
                                       "\r\nlpDatiOggetto_+2=" + qb::EncodeHex(other).substr(0, 240) +
                                       "\r\n" + short3);
    std::string hex4 = qb::EncodeHex(r4);
    for (char& c : hex4) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    text += Section(4, 5, 11, 240, "lpDatiOggetto_1=\"" + hex4.substr(0, 240) + "\"\r\n" +
                                       "lpDatiOggetto_2= '" + hex4.substr(240) + "' \r\n");
    text += Section(5, 6, 11, 1000, Pieces(other));
    writeIni("Layout", text);

    const int index = qb::LoadProject("Layout");
    ASSERT_GE(index, 0);
    const qb::ProjectRecord& loaded = *qb::ProjectAt(index);
    ASSERT_EQ(loaded.objectCount(), 5u);
    EXPECT_EQ(loaded.objects[0].IDoggetto, 1);
    EXPECT_EQ(loaded.objects[0].lpDatiOggetto, r0);
    EXPECT_EQ(loaded.objects[1].lpDatiOggetto, r1);
    EXPECT_EQ(loaded.objects[2].lpDatiOggetto, r2);
    qb::Bytes want3 = r3;
    want3[359] = 0;  // the slice goes as far as its digits
    EXPECT_EQ(loaded.objects[3].lpDatiOggetto, want3);
    EXPECT_EQ(loaded.objects[4].lpDatiOggetto, r4);

    qb::ProfileFile file;
    ASSERT_TRUE(file.load((app.projects() / "Layout" / "project.ini").string()));
    qb::ProjectRecord read;
    ASSERT_TRUE(qb::ReadProject(file, (app.projects() / "Layout").string(), read, nullptr));
    ASSERT_EQ(read.objectCount(), loaded.objectCount());
    for (std::size_t i = 0; i < read.objects.size(); ++i) {
        EXPECT_EQ(read.objects[i].IDoggetto, loaded.objects[i].IDoggetto) << i;
        EXPECT_EQ(read.objects[i].tipoOggetto, loaded.objects[i].tipoOggetto) << i;
        EXPECT_EQ(read.objects[i].sDescrizione, loaded.objects[i].sDescrizione) << i;
        EXPECT_EQ(read.objects[i].lpDatiOggetto, loaded.objects[i].lpDatiOggetto) << i;
    }
}

TEST_F(ProjectFileTest, DuplicateIdsAreKeptAndNegativeOnesGetNewIds) {
    writeIni("Dup", Header(4) + Section(0, 5, 11, 4, "lpDatiOggetto_1=01000000\r\n") +
                        Section(1, -3, 11, 0) + Section(2, 5, 11, 4, "lpDatiOggetto_1=02000000\r\n") +
                        Section(3, 7, 11, 0));
    const std::string before = iniOf("Dup");
    app.messages.texts.clear();
    const int index = qb::LoadProject("Dup");
    ASSERT_GE(index, 0);
    const qb::ProjectRecord& p = *qb::ProjectAt(index);
    ASSERT_EQ(p.objectCount(), 4u);
    EXPECT_EQ(qb::FindObject(5, index)->record().u32(0), 1u);
    // One more than the largest ID of the whole file, not of the objects read before it.
    EXPECT_EQ(p.objects[1].IDoggetto, 8);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_NE(app.messages.texts[0].find("1 objects got new IDs"), std::string::npos)
        << app.messages.texts[0];
    EXPECT_EQ(iniOf("Dup"), before);  // the file changes at the next save only
}

TEST_F(ProjectFileTest, MissingSectionsAndKeysReadAsTheirDefaults) {
    // oggetto1 is missing; oggetto2 lacks its type, description and second piece.
    writeIni("Holes", Header(4) + Section(0, 1, 0, 0) +
                          "[oggetto2]\r\nIDoggetto=4\r\nsottoTipoOggetto=0\r\n"
                          "dimDatiOggetto=130\r\nlpDatiOggetto_1=" + std::string(240, 'a') +
                          "\r\n" + Section(3, 9, 11, 16, "lpDatiOggetto_1=" +
                                                             std::string(32, '0') + "\r\n"));
    const std::string before = iniOf("Holes");
    app.messages.texts.clear();
    const int index = qb::LoadProject("Holes");
    ASSERT_GE(index, 0);
    const qb::ProjectRecord& p = *qb::ProjectAt(index);
    ASSERT_EQ(p.objectCount(), 4u);
    EXPECT_EQ(p.objects[1].IDoggetto, 0);
    EXPECT_EQ(p.objects[1].tipoOggetto, 0u);
    EXPECT_EQ(p.objects[1].dimDatiOggetto(), 0u);
    EXPECT_EQ(p.objects[2].IDoggetto, 4);
    EXPECT_EQ(p.objects[2].tipoOggetto, 0u);
    EXPECT_EQ(p.objects[2].sDescrizione, "");
    ASSERT_EQ(p.objects[2].dimDatiOggetto(), 130u);
    EXPECT_EQ(p.objects[2].lpDatiOggetto[119], 0xaa);
    EXPECT_EQ(p.objects[2].lpDatiOggetto[120], 0);
    EXPECT_EQ(p.objects[3].IDoggetto, 9);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_NE(app.messages.texts[0].find("incomplete"), std::string::npos);
    EXPECT_EQ(app.messages.texts[0].find('\n'), std::string::npos);
    EXPECT_EQ(iniOf("Holes"), before);
    // Saving completes the file, and it then loads without a word.
    ASSERT_TRUE(qb::SaveProject(index));
    app.messages.texts.clear();
    ASSERT_GE(qb::LoadProject("Holes"), 0);
    EXPECT_TRUE(app.messages.texts.empty());
    // A complete file says nothing either.
    writeIni("Whole", Header(1) + Section(0, 1, 0, 0));
    ASSERT_GE(qb::LoadProject("Whole"), 0);
    EXPECT_TRUE(app.messages.texts.empty());
}

TEST_F(ProjectFileTest, ImpossibleCountsAndSizesAreRefused) {
    writeIni("Negative", Header(-1));
    expectRefused("Negative", "nOggetti=-1");
    writeIni("Huge", Header(2147483647));
    expectRefused("Huge", "nOggetti=2147483647");
    writeIni("TooMany", Header(100001));
    expectRefused("TooMany", "nOggetti=100001");
    writeIni("BigRecord", Header(1) + Section(0, 1, 11, 16 * 1024 * 1024 + 1));
    expectRefused("BigRecord", "16777217 bytes");
    writeIni("NegativeSize", Header(1) + Section(0, 1, 11, -1));
    expectRefused("NegativeSize", "4294967295 bytes");
    // Records claimed without their digits, more in all than a file could sensibly mean.
    std::string claims = Header(5);
    for (int i = 0; i < 5; ++i) claims += Section(i, i + 1, 11, 16 * 1024 * 1024);
    writeIni("Claims", claims);
    expectRefused("Claims", "more record data than it holds");
    // As many again as a file may list, each claiming the largest record and carrying nothing:
    // looked at only as far as the file goes, and refused as soon as the claims add up.
    std::string many = Header(20000);
    for (int i = 0; i < 20000; ++i) many += Section(i, i + 1, 11, 16 * 1024 * 1024);
    writeIni("ManyClaims", many);
    expectRefused("ManyClaims", "more record data than it holds");
    // A level record whose entry count asks for more than a record may hold.
    writeIni("Level", Header(1) + Section(0, 1, 8, 8, "lpDatiOggetto_1=00000000ffffff7f\r\n"));
    const int level = qb::LoadProject("Level");
    ASSERT_GE(level, 0);  // the count is capped by the catalogue
    EXPECT_LE(qb::ProjectAt(level)->objects[0].dimDatiOggetto(), qb::kMaxRecordSizeOnLoad);
}

TEST_F(ProjectFileTest, SaveFailuresAreReportedAndKeepTheOldFile) {
    const int index = makeProject("Fail");
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    qb::AddObject(p, 12, 0, qb::Bytes(256, 1), "a", -1);
    ASSERT_TRUE(qb::SaveProject(index));
    const std::string old = iniOf("Fail");

    p.objects[0].lpDatiOggetto.assign(100000, 7);
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = qb::SaveProject(index);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_NE(app.messages.texts[0].find("could not be saved"), std::string::npos);
    EXPECT_EQ(iniOf("Fail"), old);
    int files = 0;
    for (const auto& e : fs::directory_iterator(app.projects() / "Fail")) files += e.is_regular_file();
    EXPECT_EQ(files, 1);

    // A folder that is gone.
    p.sPathProgetto = (app.projects() / "Gone").string();
    EXPECT_FALSE(qb::SaveProject(index));
    EXPECT_EQ(app.messages.texts.size(), 2u);
    EXPECT_FALSE(fs::exists(app.projects() / "Gone"));
    EXPECT_FALSE(qb::SaveProject(99));
}

TEST_F(ProjectFileTest, LoadingNeverWritesAndHandEditsSurviveTheNextSave) {
    const std::string text = "; my notes\n[MAIN]\nsNomeProgetto = Hand made\ntipoGioco=6\n"
                             "nOggetti=1\n\n[oggetto0]\nIDoggetto=1\ntipoOggetto=0\n"
                             "sottoTipoOggetto=600\nsDescrizione=Parameters\ndimDatiOggetto=0\n"
                             "check=kept\n";
    writeIni("Hand", text);
    const int index = qb::LoadProject("Hand");
    ASSERT_GE(index, 0);
    EXPECT_EQ(iniOf("Hand"), text);
    EXPECT_EQ(qb::ProjectAt(index)->sNomeProgetto, "Hand made");
    EXPECT_EQ(qb::ProjectAt(index)->tipoGioco, 6u);
    ASSERT_TRUE(qb::SaveProject(index));
    EXPECT_EQ(iniOf("Hand"), "; my notes\n[MAIN]\nsNomeProgetto = Hand made\ntipoGioco=6\n"
                             "nOggetti=1\nversioneProgetto=70\r\n\n[oggetto0]\nIDoggetto=1\n"
                             "tipoOggetto=0\nsottoTipoOggetto=600\nsDescrizione=Parameters\n"
                             "dimDatiOggetto=0\ncheck=kept\n");
}

TEST(HexCoding, EncodesLowercasePairsAndDecodesIntoTheBlock) {
    EXPECT_EQ(qb::EncodeHex(qb::Bytes{0x0a, 0xff, 0x00, 0x96}), "0aff0096");
    EXPECT_EQ(qb::EncodeHex(qb::Bytes{}), "");
    qb::Bytes out(3, 0xee);
    EXPECT_EQ(qb::DecodeHexInto("0102030405", out, 1), 2u);
    EXPECT_EQ(out, (qb::Bytes{0xee, 0x01, 0x02}));
    EXPECT_EQ(qb::DecodeHexInto("01", out, 3), 0u);
    EXPECT_EQ(qb::DecodeHexInto("01", out, 99), 0u);

    // Every byte value, in long runs, comes back; so do upper-case digits.
    qb::Bytes all(256 * 3);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::uint8_t>(i * 7);
    qb::Bytes back(all.size(), 0xee);
    std::string hex = qb::EncodeHex(all);
    EXPECT_EQ(qb::DecodeHexInto(hex, back, 0), all.size());
    EXPECT_EQ(back, all);
    for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    qb::DecodeHexInto(hex, back, 0);
    EXPECT_EQ(back, all);
    // Pairs with anything but a digit decode as 0, wherever they fall in a run.
    std::string damaged = qb::EncodeHex(qb::Bytes(40, 0x5a));
    const char* bad = "g/:@`G \xff";
    for (int i = 0; bad[i]; ++i) damaged[static_cast<std::size_t>(i) * 9] = bad[i];
    qb::Bytes out2(40, 0xee);
    qb::DecodeHexInto(damaged, out2, 0);
    for (std::size_t i = 0; i < out2.size(); ++i) {
        const bool hit = std::string_view(bad).find(damaged[2 * i]) != std::string_view::npos ||
                         std::string_view(bad).find(damaged[2 * i + 1]) != std::string_view::npos;
        EXPECT_EQ(out2[i], hit ? 0 : 0x5a) << i;
    }
    EXPECT_EQ(out2[0], 0);
    EXPECT_EQ(out2[4], 0);   // digit 9 is the low digit of byte 4
    EXPECT_EQ(out2[1], 0x5a);

    // Every pair of characters, in a long run: a byte for hex digits of either case, else 0.
    auto digit = [](int c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string pairs;
    for (int hi = 0; hi < 256; ++hi)
        for (int lo = 0; lo < 256; ++lo) pairs += {static_cast<char>(hi), static_cast<char>(lo)};
    qb::Bytes every(65536, 0xee);
    ASSERT_EQ(qb::DecodeHexInto(pairs, every, 0), every.size());
    for (int hi = 0; hi < 256; ++hi)
        for (int lo = 0; lo < 256; ++lo) {
            const int want = digit(hi) < 0 || digit(lo) < 0 ? 0 : digit(hi) << 4 | digit(lo);
            ASSERT_EQ(every[static_cast<std::size_t>(hi << 8 | lo)], want) << hi << " " << lo;
        }

    // Every length, so that each stride of the coder and its tail are used.
    std::mt19937 rng(7);
    for (std::size_t n = 0; n <= 100; ++n) {
        qb::Bytes data(n);
        std::string expected;
        for (auto& b : data) {
            b = static_cast<std::uint8_t>(rng());
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02x", b);
            expected += pair;
        }
        ASSERT_EQ(qb::EncodeHex(data), expected) << n;
        std::string text = expected;
        if (n) text[rng() % text.size()] = 'x';
        qb::Bytes decoded(n, 0xee);
        ASSERT_EQ(qb::DecodeHexInto(text, decoded, 0), n);
        for (std::size_t i = 0; i < n; ++i) {
            const bool damaged = text[2 * i] == 'x' || text[2 * i + 1] == 'x';
            ASSERT_EQ(decoded[i], damaged ? 0 : data[i]) << n << " " << i;
        }
    }
}
