#pragma once
// Screenshot scenes: each scene file registers one or more scenes with a static
// ScreenshotRegistration; quillbox-screenshots runs them all into one output folder.
#include <functional>
#include <string>
#include <vector>

namespace qbshots {

struct ScreenshotScene {
    std::string name;
    // Saves one or more PNG files into outDir (an existing folder). Runs with a QApplication
    // and a temporary application folder already set up.
    std::function<void(const std::string& outDir)> shoot;
};

// Every registered scene, in registration order (static initialisation order across files).
inline std::vector<ScreenshotScene>& ScreenshotScenes() {
    static std::vector<ScreenshotScene> scenes;
    return scenes;
}

struct ScreenshotRegistration {
    ScreenshotRegistration(std::string name, std::function<void(const std::string& outDir)> shoot) {
        ScreenshotScenes().push_back({std::move(name), std::move(shoot)});
    }
};

} // namespace qbshots
