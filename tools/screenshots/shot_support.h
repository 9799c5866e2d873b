#pragma once
// What screenshot scenes share: the application folder with the default assets and a Projects
// folder (quiet message and desktop services installed), a helper that creates a project in it
// (removed again after the scene), and saving a widget's picture.
#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>

class QWidget;

namespace qbshots {

// Created by the driver around each scene: the user's real application folder (seeded as the
// editor seeds it), whose projects made by the scene are removed afterwards.
class SceneFolder {
public:
    SceneFolder();
    ~SceneFolder();
    SceneFolder(const SceneFolder&) = delete;
    SceneFolder& operator=(const SceneFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    bool scratch_ = false;  // a temporary folder, there being no per-user one: removed whole
};

// Creates and saves a project of that game type named name in the projects folder; answers its
// project index (the workspace's last).
int CreateSceneProject(const std::string& name, std::uint32_t gameType);

// Lays the widget out, shows it offscreen, lets pending events run, and saves
// outDir/fileName; answers whether the file was written.
bool SaveShot(QWidget* widget, const std::string& outDir, const std::string& fileName);

// Runs pending events for a moment (deferred layouts, queued selections).
void SettleEvents(int milliseconds = 50);

} // namespace qbshots
