// quillbox-screenshots OUTDIR [SCENE...]: runs the registered screenshot scenes (all of them, or
// the named ones) on the offscreen platform in a temporary application folder seeded from the
// repository's assets, and saves their PNG files into OUTDIR.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "platform/pictures.h"
#include "scenes.h"
#include "shot_support.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillbox-screenshots OUTDIR [SCENE...]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const std::string outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (!std::filesystem::is_directory(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", outDir.c_str());
        return 1;
    }
    std::set<std::string> wanted(argv + 2, argv + argc);
    // Pixbridge sits beside this program in build/bin; without it pictures stay empty.
    std::string reason;
    if (!qb::BindPixbridge(qb::ExecutableFolder(), &reason))
        std::fprintf(stderr, "no pictures: %s\n", reason.c_str());

    int shot = 0;
    for (const auto& scene : qbshots::ScreenshotScenes()) {
        if (!wanted.empty() && !wanted.count(scene.name)) continue;
        qbshots::SceneFolder folder;  // a fresh application folder per scene
        scene.shoot(outDir);
        std::printf("%s\n", scene.name.c_str());
        ++shot;
    }
    if (shot == 0) {
        std::fprintf(stderr, "no scene matched\n");
        return 1;
    }
    return 0;
}
