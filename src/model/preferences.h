#pragma once
// preferences.ini in the application folder, and the application folder itself.
#include <string>
#include <string_view>

namespace qb {

// The application folder: the current directory at start-up unless set otherwise.
void SetAppFolder(const std::string& folder);
const std::string& AppFolder();
std::string PreferencesPath();  // AppFolder()/preferences.ini

// Section main.
std::string GetPreference(std::string_view key);
bool SetPreference(std::string_view key, std::string_view value);
// Any section (warning, PathUtente, PEGMAPDATA, test).
std::string GetPreferenceIn(std::string_view section, std::string_view key,
                            std::string_view defaultValue = "");
int GetPreferenceIntIn(std::string_view section, std::string_view key, int defaultValue);
bool SetPreferenceIn(std::string_view section, std::string_view key, std::string_view value);

// projectsPath, editImagesApp, editSoundsApp: an empty value gets its default.
void EnsurePreferenceDefaults();
std::string DefaultPreference(std::string_view key);

// The projects folder: projectsPath as the program uses it (set at start-up and by the
// Preferences dialog).
std::string ProjectsFolder();

} // namespace qb
