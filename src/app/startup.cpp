#include "app/startup.h"

#include <filesystem>

#include "model/preferences.h"
#include "platform/pictures.h"

namespace qb::app {

bool CheckAppFolderWritable() {
    // The preferences keep a value that could not be written for the rest of the run, so the
    // read-back alone would pass: each write must also have reached the file.
    const bool wroteZero = SetPreferenceIn("test", "value", "0");
    const int first = GetPreferenceIntIn("test", "value", -1);
    bool wroteOne = false;
    int second = -1;
    if (first == 0) {
        wroteOne = SetPreferenceIn("test", "value", "1");
        second = GetPreferenceIntIn("test", "value", -1);
    }
    return wroteZero && wroteOne && first == 0 && second == 1;
}

std::string BindPixbridgeLibrary() {
    std::string reason;
    return BindPixbridgeBesideProgram(&reason) ? std::string() : reason;
}

std::string PixbridgeMissingText(const std::string& reason) {
    return "Quillbox could not load its picture library (libpixbridge.so), so no pictures can be "
           "shown in this session.\n\n" +
           reason;
}

void CreateProjectsFolder() {
    std::error_code ec;
    std::filesystem::create_directory(std::filesystem::path(AppFolder()) / "Projects", ec);
}

} // namespace qb::app
