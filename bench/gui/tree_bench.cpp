// RebuildProjectTree + RefreshProjectTree for a project of 10,000 items, against filling a bare
// QTreeWidget with the same labels and parents. Prints the ratio (target: at most 1.5).
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/project_tree.h"
#include "model/commands.h"
#include "model/workspace.h"
#include "toolkit/qtext.h"

namespace {

constexpr int kItems = 10000;
constexpr int kRounds = 7;

// A shoot'em-up project with 10,000 items spread over its groups, in memory only.
void MakeBigProject() {
    qb::ResetWorkspace();
    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = "Benchmark";
    ws.pendingProjectFolder = "/nonexistent/Benchmark";
    const int p = qb::CreateProject(0);
    qb::ProjectRecord& project = *qb::ProjectAt(p);
    const std::uint32_t types[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    for (int i = 0; i < kItems; ++i) {
        const std::uint32_t type = types[i % std::size(types)];
        qb::AddObject(project, type, 0, nullptr, 0, "Item number " + std::to_string(i), -1);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MakeBigProject();

    qb::app::TreePanel panel;
    panel.resize(208, 600);
    panel.show();

    // The baseline gets the finished labels and parent positions, as a caller that already had
    // them would.
    panel.rebuild();
    std::vector<QString> labels;
    std::vector<int> parents;
    for (const auto& node : panel.nodes()) {
        labels.push_back(qb::ui::FromRecordText(node.label));
        parents.push_back(node.parentId);
    }
    QTreeWidget bare;
    bare.resize(208, 600);
    bare.show();

    std::vector<double> ours, baseline;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        panel.rebuild();
        panel.refresh(-1, 0);
        QApplication::processEvents();
        ours.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);

        clock.restart();
        bare.clear();
        std::vector<QTreeWidgetItem*> items(labels.size(), nullptr);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const int parent = parents[i];
            items[i] = parent >= 0 ? new QTreeWidgetItem(items[static_cast<std::size_t>(parent)],
                                                         QStringList(labels[i]))
                                   : new QTreeWidgetItem(&bare, QStringList(labels[i]));
        }
        bare.setCurrentItem(items[1]);
        QApplication::processEvents();
        baseline.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    const double a = Median(ours), b = Median(baseline);
    std::printf("project tree, %d items: rebuild+refresh %.2f ms, bare QTreeWidget %.2f ms\n",
                kItems, a, b);
    std::printf("ratio %.2f (target <= 1.5)\n", a / b);
    qb::ResetWorkspace();
    return 0;
}
