#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

#include "bench_data.h"
#include "silent_prompter.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/category_file.h"
#include "store/data_folder.h"
#include "store/statistics.h"
#include "tools/order_dialog.h"
#include "tools/organize_dialog.h"
#include "tools/statistics_dialog.h"
#include "ui/dialog_builder.h"

// The tools on a real display (run it under xvfb-run): the statistics of a store of 2,000 categories against
// reading the same files' headers, and the organize tool and the order dialog with a category of 20,000 cards.
// Medians of seven runs, in one process.
namespace quillet::bench {
namespace {

using Clock = std::chrono::steady_clock;

void Settle() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double Median(const std::function<void()>& setUp, const std::function<void()>& timed) {
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        if (setUp) {
            setUp();
        }
        const Clock::time_point start = Clock::now();
        timed();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + 3, times.end());
    return times[3];
}

void Statistics2000(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    const std::filesystem::path data = store.CategoryFolder();
    CardTable few;
    for (int i = 0; i < 10; ++i) {
        few.Append({"卡片 " + std::to_string(i), std::string(300, 'x'), ""});
    }
    const char* patterns[] = {"Qulan", "Quuse", "Quown", "Quweb"};
    for (int i = 0; i < 2000; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "%s.%03d", patterns[i % 4], i / 4 + 1);
        WriteCategoryFile(data / file, "类别 " + std::to_string(i), few);
    }
    const double headers = Median({}, [&] {
        for (int library = 0; library < kLibraryCount; ++library) {
            for (const std::filesystem::path& file : CategoryFiles(data, library)) {
                std::string name;
                std::int32_t count = 0;
                ReadCategoryFile(file, ReadMode::HeaderOnly, HeaderCheck::Check, {name, count});
            }
        }
    });
    const double statistics = Median({}, [&] { StoreStatistics(data); });
    const double dialog = Median({}, [&] {
        StatisticsDialog shown(frame, data, prompter);
        shown.show();
        Settle();
    });
    std::printf(
        "statistics of 2,000 categories: %.1f ms, the dialog shown %.1f ms; reading their headers %.1f ms; "
        "ratios %.2f and %.2f\n",
        statistics, dialog, headers, statistics / headers, dialog / headers);
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        std::filesystem::remove(entry.path());
    }
}

void Organize20000(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    const std::filesystem::path big = store.CategoryFolder() / "Qulan.001";
    const std::filesystem::path target = store.CategoryFolder() / "Qulan.002";
    const CardTable cards = LargeCategory(20000);
    const auto reset = [&] {
        WriteCategoryFile(big, "大类别", cards);
        WriteCategoryFile(target, "空类别", CardTable{});
        store.currentLibrary = 0;
        store.CloseCategory();
        store.libraryStates[0].categoryName = "大类别";
    };
    const double open = Median(reset, [&] {
        OrganizeDialog dialog(store, prompter, &frame);
        dialog.show();
        Settle();
    });
    std::vector<std::size_t> all(20000);
    std::iota(all.begin(), all.end(), std::size_t{0});
    double copy = 0, paste = 0, cut = 0;
    {
        std::vector<double> copies, pastes, cuts;
        for (int run = 0; run < 7; ++run) {
            reset();
            OrganizeSession session(store);
            session.ChooseLibrary(0);
            Clock::time_point start = Clock::now();
            session.Copy(all, ExistingCard::Skip);
            copies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            session.ChooseCategory(1);
            start = Clock::now();
            session.Paste(all, ExistingCard::Skip);
            pastes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            session.Clear();
            session.ChooseCategory(0);
            start = Clock::now();
            session.Cut(all, ExistingCard::Skip);
            cuts.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            session.GiveUpCutCards();
        }
        for (auto* times : {&copies, &pastes, &cuts}) {
            std::nth_element(times->begin(), times->begin() + 3, times->end());
        }
        copy = copies[3], paste = pastes[3], cut = cuts[3];
    }
    const double write = Median({}, [&] { WriteCategoryFile(target, "空类别", cards); });
    std::printf(
        "organize tool, 20,000 cards: opened with its tree filled %.1f ms; copy all %.1f ms, paste all %.1f "
        "ms, cut all %.1f ms; writing that category alone %.1f ms\n",
        open, copy, paste, cut, write);

    reset();
    store.OpenCategoryFile(big, HeaderCheck::Check);
    std::unique_ptr<OrderDialog> order;
    const double orderOpen =
        Median([&] { order.reset(); },
               [&] {
                   order = std::make_unique<OrderDialog>(OrderDialog::Mode::Cards, store, prompter, &frame);
                   order->show();
                   Settle();
               });
    auto* list = Control<QListView>(*order, res::kOrderList);
    auto* top = Control<QPushButton>(*order, res::kOrderTop);
    const double moveTop = Median([&] { list->setCurrentIndex(list->model()->index(19999, 0)); },
                                  [&] {
                                      top->click();
                                      Settle();
                                  });
    const double ok = Median(
        [&] {
            store.OpenCategoryFile(big, HeaderCheck::Check);
            order = std::make_unique<OrderDialog>(OrderDialog::Mode::Cards, store, prompter, &frame);
            order->show();
            Settle();
            list = Control<QListView>(*order, res::kOrderList);
            list->setCurrentIndex(list->model()->index(19999, 0));
            Control<QPushButton>(*order, res::kOrderTop)->click();
        },
        [&] { order->accept(); });
    std::printf("order dialog, 20,000 cards: opened %.1f ms, the last card to the top %.1f ms, OK %.1f ms\n", orderOpen,
                moveTop, ok);
    order.reset();
}

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
    using namespace quillet;
    QApplication app(argc, argv);
    const std::filesystem::path home = bench::ScratchFolder() / "tools";
    std::filesystem::create_directories(home);
    CardStore store(home);
    store.EnsureDataFolder();
    store.flags.noSavedState = false;
    AppSettings settings;
    bench::SilentPrompter prompter;
    CMainFrame frame(store, prompter, settings);
    frame.show();
    bench::Settle();
    bench::Statistics2000(frame, store, prompter);
    bench::Organize20000(frame, store, prompter);
    return 0;
}
