// Warnings: what the build lets through but the game trips over. They are listed beside the
// build's problems and never fail a build.
#include <filesystem>
#include <system_error>

#include "build/validate.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/jigsaw_main.h"

namespace qb {

namespace {

namespace L = layout;

std::string Quoted(const ObjectRecord& object) { return "'" + object.sDescrizione + "'"; }

void Warn(std::vector<Problem>& out, const ObjectRecord& object, Warning kind,
          std::string message, std::string advice) {
    Problem problem;
    problem.objectId = object.IDoggetto;
    problem.message = std::move(message);
    problem.advice = std::move(advice);
    problem.warning = true;
    problem.warningKind = kind;
    out.push_back(std::move(problem));
}

void CheckFile(std::vector<Problem>& out, const ObjectRecord& object) {
    const std::string path = object.record().text(L::file_backed::kPath, L::file_backed::kPathSize);
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        Warn(out, object, Warning::MissingFile,
             "the file of " + Quoted(object) + " is missing: " +
                 (path.empty() ? std::string("no file named") : path),
             "Put the file back in the project folder, or delete " + Quoted(object) + ".");
}

void CheckJigsaw(std::vector<Problem>& out, const ObjectRecord& object) {
    namespace J = L::jigsaw_main;
    const ConstRecordView r = object.record();
    if (r.i32(J::kPiecesAcross) <= 0 || r.i32(J::kPiecesDown) <= 0)
        Warn(out, object, Warning::NoPieces, "the jigsaw of " + Quoted(object) + " has no pieces",
             "Give the jigsaw at least one piece across and one down in " + Quoted(object) + ".");
}

} // namespace

std::vector<Problem> ProjectWarnings(const ProjectRecord& project) {
    std::vector<Problem> out;
    for (const ObjectRecord& object : project.objects) {
        if (object.lpDatiOggetto.empty()) continue;
        if (IsFileBackedType(object.tipoOggetto)) CheckFile(out, object);
        if (object.tipoOggetto == 600) CheckJigsaw(out, object);
    }
    return out;
}

} // namespace qb
