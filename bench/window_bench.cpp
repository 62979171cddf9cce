#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_data.h"
#include "silent_prompter.h"
#include "reading/card_viewer_control.h"
#include "reading/reading_mode.h"
#include "res/resource_ids.h"
#include "shell/data_bar.h"
#include "shell/main_frame.h"
#include "shell/quillet_app.h"
#include "store/category_file.h"
#include "tray/hidden_mode.h"

// The program's window on a real display (run it under xvfb-run): start-up to a painted window with an empty
// store and with a remembered category of 20,000 and of 100,000 cards, how long choosing that category and
// switching away from it block the window, and the resident memory with it open. Each figure is the median of
// fresh processes, the three stores interleaved.
namespace quillet::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double startMs = 0;
    double switchAwayMs = 0;
    double chooseMs = 0;
    double residentMiB = 0;
    double readingEnterMs = 0;   // entry mode to the shown reading window, the category remembered
    double readingChooseMs = 0;  // choosing it in the reading window's list
};

double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024;
        }
    }
    return -1;
}

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Until everything posted so far, the repaint included, is done.
void Settle() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// A program folder whose data folder holds, in the library a first start shows, the big category first and a
// one-card category after it; with no saved state the first one is opened at the start.
std::filesystem::path MakeProgramFolder(const char* name, int cards) {
    const std::filesystem::path folder = ScratchFolder() / name;
    std::filesystem::create_directories(folder / "Qu_data");
    if (cards > 0) {
        WriteCategoryFile(folder / "Qu_data" / "Quuse.001", "big", LargeCategory(cards));
        CardTable small;
        small.Append({"one", "text", ""});
        WriteCategoryFile(folder / "Qu_data" / "Quuse.002", "small", small);
    }
    return folder;
}

std::optional<Figures> RunOnce(const std::filesystem::path& folder, int argc, char** argv) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return std::nullopt;
    }
    if (const pid_t child = ::fork(); child == 0) {
        ::close(fds[0]);
        Figures figures;
        const Clock::time_point start = Clock::now();
        QApplication app(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        QSettings profile(QString::fromStdString((folder / "profile.ini").string()), QSettings::IniFormat);
        SilentPrompter prompter;
        CQuilletApp quillet(folder, prompter, profile);
        if (!quillet.InitInstance({QStringLiteral("quillet"), QStringLiteral("-Embedding")})) {
            _exit(1);
        }
        CMainFrame& frame = *quillet.Frame();
        while (!frame.windowHandle() || !frame.windowHandle()->isExposed()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        Settle();
        figures.startMs = MsSince(start);
        figures.residentMiB = ResidentMiB();
        DataBar& bar = frame.Bar();
        if (bar.CategoryCount() == 2) {
            Clock::time_point moment = Clock::now();
            bar.OpenCategoryAt(1);
            Settle();
            figures.switchAwayMs = MsSince(moment);
            moment = Clock::now();
            bar.OpenCategoryAt(0);
            Settle();
            figures.chooseMs = MsSince(moment);

            CardViewerControl* viewer = InstallCardViewer(frame, quillet.Store(), quillet.Settings());
            HiddenMode* tray = InstallTray(frame, prompter);
            ReadingMode* reading = InstallReadingMode(frame, quillet.Store(), prompter, *viewer, *tray);
            moment = Clock::now();
            frame.Command(res::kCmdReadingMode)->trigger();
            Settle();
            figures.readingEnterMs = MsSince(moment);
            auto* list = reading->Window()->Body().findChild<QComboBox*>();
            list->setCurrentIndex(1);
            emit list->activated(1);
            Settle();
            moment = Clock::now();
            list->setCurrentIndex(0);
            emit list->activated(0);
            Settle();
            figures.readingChooseMs = MsSince(moment);
        }
        [[maybe_unused]] const ssize_t written = ::write(fds[1], &figures, sizeof figures);
        _exit(0);
    }
    ::close(fds[1]);
    Figures figures;
    const ssize_t got = ::read(fds[0], &figures, sizeof figures);
    ::close(fds[0]);
    ::wait(nullptr);
    if (got != static_cast<ssize_t>(sizeof figures)) {
        return std::nullopt;  // the child could not start; the run is left out
    }
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
    using namespace quillet::bench;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "needs a display: run it under xvfb-run\n");
        return 1;
    }
    struct Store {
        const char* name;
        int cards;
        std::filesystem::path folder;
        double fileMiB = 0;
        std::vector<Figures> runs;
    };
    Store stores[] = {{"empty", 0, {}, 0, {}}, {"20000", 20000, {}, 0, {}}, {"100000", 100000, {}, 0, {}}};
    for (Store& store : stores) {
        store.folder = ScratchFolder() / store.name;
        // Made by a child, so the cards made here never count in the resident memory of the runs.
        if (const pid_t child = ::fork(); child == 0) {
            MakeProgramFolder(store.name, store.cards);
            _exit(0);
        } else {
            ::waitpid(child, nullptr, 0);
        }
        const std::filesystem::path big = store.folder / "Qu_data" / "Quuse.001";
        store.fileMiB = store.cards > 0 ? static_cast<double>(std::filesystem::file_size(big)) / (1 << 20) : 0;
    }
    const int rounds = std::getenv("RUNS") ? std::atoi(std::getenv("RUNS")) : 7;
    for (int round = 0; round < rounds; ++round) {
        for (Store& store : stores) {
            if (const std::optional<Figures> figures = RunOnce(store.folder, argc, argv)) {
                store.runs.push_back(*figures);
            }
        }
    }
    const auto median = [](const Store& store, double Figures::*field) {
        std::vector<double> values;
        for (const Figures& figures : store.runs) {
            values.push_back(figures.*field);
        }
        return Median(values);
    };
    const double emptyStart = median(stores[0], &Figures::startMs);
    const double emptyResident = median(stores[0], &Figures::residentMiB);
    std::printf("start to a painted window, empty store: %.1f ms, resident %.1f MiB\n", emptyStart, emptyResident);
    for (const Store& store : {stores[1], stores[2]}) {
        const double start = median(store, &Figures::startMs);
        const double above = median(store, &Figures::residentMiB) - emptyResident;
        std::printf("\n%s remembered cards (file %.1f MiB):\n", store.name, store.fileMiB);
        std::printf("ratio start / start with an empty store: %.2f (%.1f ms; goal at most 2.0)\n", start / emptyStart,
                    start);
        std::printf("choosing it blocks the window %.1f ms, switching away %.1f ms (goal at most 50 ms each)\n",
                    median(store, &Figures::chooseMs), median(store, &Figures::switchAwayMs));
        std::printf("ratio resident memory above the empty start / file size: %.2f (%.1f MiB; goal at most 1.5)\n",
                    above / store.fileMiB, above);
        std::printf(
            "reading mode: entering it with the category open blocks %.1f ms, choosing it there %.1f ms "
            "(goal at most 50 ms each)\n",
            median(store, &Figures::readingEnterMs), median(store, &Figures::readingChooseMs));
    }
    return 0;
}
