#pragma once
// Where the editor keeps its application folder on Linux.
//
// The application folder holds preferences.ini, the Projects folder, the default assets, the
// engine templates and the page template. On Windows it was the folder the program was started
// in. Here:
//   1. When the current directory already is an application folder (it holds the default
//      sprite sheet "SpritesDefault.png"), it is used as it is: starting the editor inside a
//      prepared folder behaves as it always did.
//   2. Otherwise (started from the desktop menu, where the current directory is $HOME, or from
//      the repository) the per-user folder $XDG_DATA_HOME/quillbox (~/.local/share/quillbox)
//      is used. It is created when missing and seeded from the first seed folder that exists:
//      the installed share folder beside the executable (../share/quillbox), the configured
//      install share folder, and the repository's assets/ folder of this build. Seeding copies
//      only files the user folder lacks, so real engine files or pictures a user dropped there
//      are never replaced; the help pages are ours and are refreshed every time.
// The editor then makes that folder its current directory.
#include <string>
#include <vector>

namespace qb::app {

// The marker of an application folder.
constexpr const char* kAppFolderMarker = "SpritesDefault.png";

struct AppFolderChoice {
    std::string folder;   // the application folder (empty when none could be made)
    std::string seededFrom;  // the seed folder used, or empty
};

// Candidate seed folders, in order of preference (only existing ones are used).
std::vector<std::string> SeedFolders();
// The per-user folder: $XDG_DATA_HOME/quillbox, else $HOME/.local/share/quillbox; empty when
// neither variable gives an absolute path.
std::string UserAppFolder();
// Copies into folder every file of seed (recursively) that folder lacks; files under help/ are
// replaced. Never follows the seed's symbolic links out of it; errors are skipped.
void SeedAppFolder(const std::string& seed, const std::string& folder);
// Applies the rules above for a start in currentDir.
AppFolderChoice ChooseAppFolder(const std::string& currentDir);

// The user help page: the application folder's help/index.html, else the first seed folder's.
std::string HelpPagePath();

} // namespace qb::app
