// The user's own files: "Import picture..." in every picture dialog, files dropped from a file
// manager onto the project tree (good ones, then every kind of bad one), and the message when
// the external image or sound program cannot be started.
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <array>
#include <cstdint>
#include <string>

#include "app/qt_services.h"
#include "model/item_files.h"
#include "model/layouts/bitmaps.h"
#include "platform/profile.h"
#include "support/shell_support.h"
#include "toolkit/file_chooser.h"

namespace fs = std::filesystem;
using namespace qbtest;

namespace {

constexpr std::uint32_t kFonts = 2, kSprites = 3, kBackgrounds = 4, kAudio = 5, kSplash = 13,
                        kRacingBackgrounds = 104;

void WritePng(const fs::path& path, int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
}

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

// A well-formed PNG header for a picture of that size, without its pixels: the decoder refuses
// a picture this large while reading the header.
void WritePngHeader(const fs::path& path, std::uint32_t width, std::uint32_t height) {
    const std::string ihdr = "IHDR" + BigEndian(width) + BigEndian(height) + std::string("\x08\x02\x00\x00\x00", 5);
    const std::string iend = "IEND";
    WriteFile(path, std::string("\x89PNG\r\n\x1a\n", 8) + BigEndian(13) + ihdr +
                        BigEndian(Crc32(ihdr)) + BigEndian(0) + iend + BigEndian(Crc32(iend)));
}

const std::string kId3Sound = std::string("ID3\x03\x00\x00\x00\x00\x00\x0a", 10) +
                              std::string(10, '\0') + std::string("\xff\xfb\x90\x64", 4) +
                              std::string(100, 'a');
const std::string kFrameSound = std::string("\xff\xfb\x90\x64", 4) + std::string(200, 'b');

std::string ItemPath(int project, std::int32_t id) {
    return Object(project, id).record().text(qb::layout::file_backed::kPath, qb::kPathField);
}

std::size_t FilesIn(const fs::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file() ? 1 : 0;
    return count;
}

class TreeDropTest : public ShellTest {
protected:
    QPoint placeOf(std::int32_t objectId, int project) {
        QTreeWidget* t = tree()->tree();
        t->expandAll();
        const qb::app::TreeNode* n = node(objectId, project);
        EXPECT_TRUE(n && n->item);
        if (!n || !n->item) return {};
        t->scrollToItem(n->item);
        return t->visualItemRect(n->item).center();
    }
    static void SetFiles(QMimeData& mime, const std::vector<fs::path>& files) {
        QList<QUrl> urls;
        for (const fs::path& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f.string()));
        mime.setUrls(urls);
    }
    // The files come over the tree: the tree becomes the drag's target (as when a file manager
    // drags them in), which then gets the moves and the drop.
    void enter(const QMimeData& mime, QPoint at) {
        QDragEnterEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree()->tree()->viewport(), &event);
        EXPECT_TRUE(event.isAccepted());
    }
    // Drops the files on the node, as a file manager does, and lets the drop's work run.
    void drop(std::int32_t objectId, int project, const std::vector<fs::path>& files) {
        QMimeData mime;
        SetFiles(mime, files);
        enter(mime, placeOf(objectId, project));
        QDropEvent event(QPointF(placeOf(objectId, project)), Qt::CopyAction, &mime,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree()->tree()->viewport(), &event);
        EXPECT_TRUE(event.isAccepted());
        Settle(30);
    }
    // Whether the node takes the files while they are dragged over it (-1: the project node).
    bool takes(std::int32_t objectId, int project, const std::vector<fs::path>& files) {
        QMimeData mime;
        SetFiles(mime, files);
        enter(mime, placeOf(objectId, project));
        QDragMoveEvent event(placeOf(objectId, project), Qt::CopyAction, &mime, Qt::LeftButton,
                             Qt::NoModifier);
        QApplication::sendEvent(tree()->tree()->viewport(), &event);
        return event.isAccepted();
    }
    std::size_t objects(int project) { return qb::ProjectAt(project)->objects.size(); }
    fs::path desktop() {
        const fs::path dir = app.path() / "Desktop files";
        fs::create_directories(dir);
        return dir;
    }
};

TEST_F(TreeDropTest, DroppedPicturesAndSoundsBecomeItemsAndReplaceAnItemsFile) {
    const int p = NewProject("Drops", qb::game::Jigsaw);
    refresh(-1, p);
    const std::int32_t backgrounds = GroupId(p, kBackgrounds), sounds = GroupId(p, kAudio);
    const fs::path red = desktop() / "red.png", blue = desktop() / "Blue Photo.PNG",
                   green = desktop() / "green.png", song = desktop() / "song.mp3",
                   frames = desktop() / "frames.mp3";
    WritePng(red, 3, 2, qRgb(255, 0, 0));
    WritePng(blue, 5, 4, qRgb(0, 0, 255));
    WritePng(green, 7, 6, qRgb(0, 255, 0));
    WriteFile(song, kId3Sound);
    WriteFile(frames, kFrameSound);

    // While dragging, a node says whether it takes the files.
    EXPECT_TRUE(takes(backgrounds, p, {red}));
    EXPECT_FALSE(takes(sounds, p, {red}));
    EXPECT_TRUE(takes(sounds, p, {red, song}));
    EXPECT_FALSE(takes(-1, p, {red}));
    EXPECT_FALSE(takes(GroupId(p, 120), p, {red}));  // "Ads" keeps no file

    // Two pictures on the group: two new items, each with its file's content, saved.
    const std::size_t before = objects(p);
    drop(backgrounds, p, {red, blue});
    EXPECT_TRUE(app.messages.texts.empty());
    ASSERT_EQ(objects(p), before + 2);
    const qb::ObjectRecord& first = qb::ProjectAt(p)->objects[before];
    const qb::ObjectRecord& second = qb::ProjectAt(p)->objects[before + 1];
    const std::int32_t redItem = first.IDoggetto, blueItem = second.IDoggetto;
    EXPECT_EQ(first.tipoOggetto, kBackgrounds);
    EXPECT_EQ(ReadFile(ItemPath(p, redItem)), ReadFile(red));
    EXPECT_EQ(ReadFile(ItemPath(p, blueItem)), ReadFile(blue));
    EXPECT_NE(ItemPath(p, redItem), ItemPath(p, blueItem));
    // As New item makes them: a file of the project folder named after the group's type.
    EXPECT_EQ(fs::path(ItemPath(p, redItem)).parent_path(), fs::path(qb::ProjectAt(p)->sPathProgetto));
    EXPECT_EQ(first.sDescrizione, qb::FileTitleOfPath(ItemPath(p, redItem)));
    EXPECT_EQ(SavedRecord(p, blueItem), second.lpDatiOggetto);
    // The last new item is selected and previewed, as after New item.
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->objectId, blueItem);
    EXPECT_EQ(tree()->previewImage().size(), QSize(5, 4));

    // Two sounds on the sounds group.
    drop(sounds, p, {song, frames});
    EXPECT_TRUE(app.messages.texts.empty());
    ASSERT_EQ(objects(p), before + 4);
    const std::int32_t songItem = qb::ProjectAt(p)->objects[before + 2].IDoggetto;
    EXPECT_EQ(Object(p, songItem).tipoOggetto, kAudio);
    EXPECT_EQ(ReadFile(ItemPath(p, songItem)), kId3Sound);
    EXPECT_EQ(ReadFile(ItemPath(p, current()->objectId)), kFrameSound);

    // One picture on the selected picture item: its file is replaced, the record and the
    // project stay as they are, and the preview shows the new picture.
    select(blueItem, p);
    ASSERT_EQ(tree()->previewImage().size(), QSize(5, 4));
    const std::string projectFile = ReadFile(fs::path(qb::ProjectAt(p)->sPathProgetto) / "project.ini");
    const qb::Bytes record = Object(p, blueItem).lpDatiOggetto;
    drop(blueItem, p, {green});
    EXPECT_TRUE(app.messages.texts.empty());
    EXPECT_EQ(ReadFile(ItemPath(p, blueItem)), ReadFile(green));
    EXPECT_EQ(Object(p, blueItem).lpDatiOggetto, record);
    EXPECT_EQ(ReadFile(fs::path(qb::ProjectAt(p)->sPathProgetto) / "project.ini"), projectFile);
    EXPECT_EQ(objects(p), before + 4);
    EXPECT_EQ(current()->objectId, blueItem);
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().size() == QSize(7, 6); }));
    // Nothing but the items' files and the project file in the project folder.
    EXPECT_EQ(FilesIn(qb::ProjectAt(p)->sPathProgetto), 5u);
}

TEST_F(TreeDropTest, BadFilesMakeNoItemReplaceNothingAndAreNamedInOneMessage) {
    const int p = NewProject("Bad drops", qb::game::Jigsaw);
    refresh(-1, p);
    const std::int32_t backgrounds = GroupId(p, kBackgrounds), sounds = GroupId(p, kAudio);
    const std::int32_t item = NewItemOfType(p, kBackgrounds);
    refresh(item, p);
    const fs::path folder = desktop() / "Holiday.png", empty = desktop() / "empty.png",
                   huge = desktop() / "huge.png", text = desktop() / "notes.png",
                   renamed = desktop() / "photo.jpg", fakeSound = desktop() / "fake.mp3",
                   pictureSound = desktop() / "picture.mp3", broken = desktop() / "cut.png";
    fs::create_directories(folder);
    WriteFile(empty, "");
    WritePngHeader(huge, 20000, 20000);
    WriteFile(text, "these are notes, not a picture");
    WritePng(renamed, 4, 4, qRgb(1, 2, 3));
    WriteFile(fakeSound, "just some text that is no sound");
    WritePng(pictureSound, 2, 2, qRgb(9, 9, 9));
    // A real picture cut in the middle of its data.
    WritePng(broken, 64, 64, qRgb(10, 200, 30));
    const std::string whole = ReadFile(broken);
    WriteFile(broken, whole.substr(0, whole.size() / 2));

    const fs::path projectFile = fs::path(qb::ProjectAt(p)->sPathProgetto) / "project.ini";
    const std::string savedProject = ReadFile(projectFile);
    const std::string itemFile = ReadFile(ItemPath(p, item));
    const std::size_t before = objects(p);

    drop(backgrounds, p, {folder, empty, huge, text, renamed, broken});
    EXPECT_EQ(objects(p), before);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    const std::string& message = app.messages.texts[0];
    for (const char* part : {"\"Holiday.png\" is a folder", "\"empty.png\" is empty",
                             "\"huge.png\" is 20000 x 20000 pixels", "\"notes.png\" is not a PNG picture",
                             "\"photo.jpg\" is not a .png file", "\"cut.png\" is damaged",
                             "No item was made"})
        EXPECT_NE(message.find(part), std::string::npos) << part << "\n" << message;

    drop(sounds, p, {fakeSound, pictureSound});
    EXPECT_EQ(objects(p), before);
    ASSERT_EQ(app.messages.texts.size(), 2u);
    EXPECT_NE(app.messages.texts[1].find("\"fake.mp3\" is not an MP3 sound"), std::string::npos);
    EXPECT_NE(app.messages.texts[1].find("\"picture.mp3\" is not an MP3 sound"), std::string::npos);

    // On an item: a bad file, or more than one file, replaces nothing.
    drop(item, p, {huge});
    drop(item, p, {fakeSound});
    const fs::path good = desktop() / "good.png";
    WritePng(good, 2, 2, qRgb(0, 0, 0));
    drop(item, p, {good, good});
    ASSERT_EQ(app.messages.texts.size(), 5u);
    EXPECT_NE(app.messages.texts[2].find("Nothing was replaced"), std::string::npos);
    EXPECT_NE(app.messages.texts[3].find("is not a .png file"), std::string::npos);
    EXPECT_NE(app.messages.texts[4].find("Drop one file"), std::string::npos);
    EXPECT_EQ(ReadFile(ItemPath(p, item)), itemFile);
    EXPECT_EQ(ReadFile(projectFile), savedProject);
    EXPECT_EQ(objects(p), before);
    // No new file, no temporary left behind.
    EXPECT_EQ(FilesIn(qb::ProjectAt(p)->sPathProgetto), 2u);
}

class ImportPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qb::PixbridgeBound()) qb::BindPixbridge(BinDir().string());
    }
    void TearDown() override {
        qb::ui::SetOpenFileDialog({});
        qb::SetDesktopService(&app.desktop);
    }
    // The chooser answers this file from now on.
    void Choose(const fs::path& file) {
        qb::ui::SetOpenFileDialog([this, file](const qb::ui::OpenFileRequest& request) {
            asked.push_back(request);
            return qb::ui::OpenFileAnswer{QString::fromStdString(file.string()), 0};
        });
    }
    TempAppFolder app;
    std::vector<qb::ui::OpenFileRequest> asked;
};

TEST_F(ImportPictureTest, EveryPictureDialogImportsAPngRefusesABrokenOneAndKeepsItAfterCancel) {
    const int shootEmUp = NewProject("Own pictures", qb::game::ShootEmUp);
    const int racing = NewProject("Own racing pictures", qb::game::Racing);
    const fs::path broken = app.path() / "Pictures" / "broken.png";
    fs::create_directories(broken.parent_path());
    WriteFile(broken, std::string("\x89PNG\r\n\x1a\n", 8) + "the rest is missing");

    const std::array<std::pair<int, std::uint32_t>, 5> items{
        {{shootEmUp, kSprites}, {shootEmUp, kBackgrounds}, {racing, kRacingBackgrounds},
         {shootEmUp, kFonts}, {shootEmUp, kSplash}}};
    int shade = 0;
    for (const auto& [project, type] : items) {
        SCOPED_TRACE(type);
        const std::int32_t id = NewItemOfType(project, type);
        const std::string file = ItemPath(project, id);
        const std::string original = ReadFile(file);
        const qb::Bytes record = Object(project, id).lpDatiOggetto;
        const fs::path chosen = app.path() / "Pictures" / ("mine " + std::to_string(type) + ".png");
        WritePng(chosen, 6, 5, qRgb(20 * ++shade, 0, 0));
        app.messages.texts.clear();

        Edit(project, id, [&](QDialog* d) {
            auto* import = Child<QPushButton>(d, "importPicturePushButton");
            ASSERT_NE(import, nullptr);
            EXPECT_EQ(import->text(), "Import picture...");
            // A picture that cannot be decoded is refused before anything is replaced.
            Choose(broken);
            import->click();
            ASSERT_EQ(app.messages.texts.size(), 1u);
            EXPECT_NE(app.messages.texts[0].find("\"broken.png\" is damaged"), std::string::npos)
                << app.messages.texts[0];
            EXPECT_NE(app.messages.texts[0].find("Nothing was replaced"), std::string::npos);
            EXPECT_EQ(ReadFile(file), original);
            // A good one replaces the file at once; the dialog shows the same path.
            Choose(chosen);
            import->click();
            EXPECT_EQ(app.messages.texts.size(), 1u);
            EXPECT_EQ(ReadFile(file), ReadFile(chosen));
            EXPECT_EQ(Child<QLineEdit>(d, "pathFileLineEdit")->text().toStdString(), file);
            Cancel(d);
        });
        // Cancel keeps the record as it was and the picture as imported.
        EXPECT_EQ(Object(project, id).lpDatiOggetto, record);
        EXPECT_EQ(ReadFile(file), ReadFile(chosen));
        EXPECT_EQ(SavedRecord(project, id), record);
    }
    // The picture chooser offers PNG files and remembers its own folder, apart from the sounds'.
    ASSERT_FALSE(asked.empty());
    ASSERT_EQ(asked[0].filters.size(), 1u);
    EXPECT_EQ(asked[0].filters[0].name, "PNG File");
    EXPECT_EQ(asked[0].filters[0].pattern, "*.png");
    EXPECT_EQ(asked[0].folder.toStdString(), app.path().string());
    EXPECT_EQ(asked.back().folder.toStdString(), broken.parent_path().string() + "/");
    EXPECT_EQ(qb::GetPreferenceIn("PathUtente", "Func10006"), broken.parent_path().string() + "/");
    EXPECT_EQ(qb::GetPreferenceIn("PathUtente", "Func10005"), "");
}

TEST_F(ImportPictureTest, AProgramThatCannotStartIsNamedWithAPointerToPreferences) {
    const int project = NewProject("Programs", qb::game::Jigsaw);
    const std::int32_t picture = NewItemOfType(project, kBackgrounds);
    const std::int32_t sound = NewItemOfType(project, kAudio);

    // The real desktop service: a program that does not exist cannot be started...
    qb::app::QtDesktop desktop;
    qb::SetDesktopService(&desktop);
    qb::SetPreference("editImagesApp", "/no/such/folder/quillbox-paint");
    Edit(project, picture, [&](QDialog* d) {
        Child<QPushButton>(d, "editBitmapButton")->click();
        Cancel(d);
    });
    ASSERT_EQ(app.messages.texts.size(), 1u);
    const std::string& text = app.messages.texts[0];
    EXPECT_NE(text.find("image editor \"/no/such/folder/quillbox-paint\" could not be started"),
              std::string::npos) << text;
    EXPECT_NE(text.find("Preferences (\"Application to edit images:\")"), std::string::npos) << text;
    // ... while one that exists starts without a word.
    qb::SetPreference("editImagesApp", "true");
    Edit(project, picture, [&](QDialog* d) {
        Child<QPushButton>(d, "editBitmapButton")->click();
        Cancel(d);
    });
    EXPECT_EQ(app.messages.texts.size(), 1u);

    // The sound editor the same way.
    qb::SetDesktopService(&app.desktop);
    app.desktop.startSucceeds = false;
    Edit(project, sound, [&](QDialog* d) {
        Child<QPushButton>(d, "editSoundPushButton")->click();
        Cancel(d);
    });
    ASSERT_EQ(app.messages.texts.size(), 2u);
    EXPECT_NE(app.messages.texts[1].find("sound editor \"" + qb::GetPreference("editSoundsApp")),
              std::string::npos) << app.messages.texts[1];
    EXPECT_NE(app.messages.texts[1].find("\"Application to edit sounds:\""), std::string::npos);
}

} // namespace
