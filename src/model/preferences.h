#pragma once
// preferences.ini in the application folder, and the application folder itself.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb {

// The application folder: the current directory at start-up unless set otherwise.
void SetAppFolder(const std::string& folder);
const std::string& AppFolder();
std::string PreferencesPath();  // AppFolder()/preferences.ini

// Section main. Values are read and written cut to 259 characters. A value that cannot be
// written (the folder is read-only) stays in force for the rest of the run and false is
// answered.
std::string GetPreference(std::string_view key);
bool SetPreference(std::string_view key, std::string_view value);
// Any section (warning, PathUtente, PEGMAPDATA, test).
std::string GetPreferenceIn(std::string_view section, std::string_view key,
                            std::string_view defaultValue = "");
int GetPreferenceIntIn(std::string_view section, std::string_view key, int defaultValue);
bool SetPreferenceIn(std::string_view section, std::string_view key, std::string_view value);
// Several keys of one section written in one go (one read and one write of the file).
bool SetPreferencesIn(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& values);

// projectsPath, editImagesApp, editSoundsApp: an empty value gets its default.
void EnsurePreferenceDefaults();
// AppFolder()/Projects; the first picture editor found on PATH (gimp, krita, pinta, kolourpaint,
// mtpaint; "gimp" when none is); audacity found on PATH ("audacity" when not); empty otherwise.
std::string DefaultPreference(std::string_view key);

// The projects folder: the projectsPath preference at the time of the call (the Preferences
// dialog changes it with SetPreference), its default while it is empty, without a trailing '/'.
std::string ProjectsFolder();

} // namespace qb
