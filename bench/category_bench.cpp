#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include "bench_data.h"
#include "store/category_file.h"
#include "store/codec.h"

// Each measured operation next to its baseline from the same run; the ratios are printed at the end.
namespace quillet::bench {
namespace {

const std::filesystem::path& LargeFile() {
    static const std::filesystem::path file = [] {
        std::filesystem::path path = ScratchFolder() / "Qulan.001";
        WriteCategoryFile(path, "large", LargeCategory());
        return path;
    }();
    return file;
}

std::int64_t LargeFileSize() { return static_cast<std::int64_t>(std::filesystem::file_size(LargeFile())); }

// The baseline reads the file into one buffer that stays faulted in between runs, as cat does. Each read of a
// category builds its table and destroys it inside the measured time, as choosing one category after another
// does in a running program.
void ReadBytes(std::string& bytes) {
    const int fd = ::open(LargeFile().c_str(), O_RDONLY);
    bytes.resize(static_cast<std::size_t>(LargeFileSize()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
}

void BM_Baseline_ReadBytes(benchmark::State& state) {
    std::string buffer(static_cast<std::size_t>(LargeFileSize()), '\0');
    for (auto _ : state) {
        ReadBytes(buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * LargeFileSize());
}

void ReadTable(benchmark::State& state, ReadMode mode, bool toScreenText) {
    std::string utf8;
    for (auto _ : state) {
        {
            std::string name;
            std::int32_t count = 0;
            CardTable cards;
            if (ReadCategoryFile(LargeFile(), mode, HeaderCheck::Check, {name, count, &cards})) {
                state.SkipWithError("read failed");
            }
            if (toScreenText) {
                // What a listing of every name costs on top: each one in the screen's UTF-8.
                utf8.clear();
                for (std::size_t i = 0; i < cards.Size(); ++i) {
                    AppendAsUtf8(cards.NameAt(i), utf8);
                }
                benchmark::DoNotOptimize(utf8.data());
            }
            benchmark::DoNotOptimize(cards.Size());
        }
    }
    state.SetBytesProcessed(state.iterations() * LargeFileSize());
}

// Every card with its content in memory, as the command line's show reads a category.
void BM_FullRead(benchmark::State& state) { ReadTable(state, ReadMode::Full, false); }
// What opening a category in a window reads: names and addresses, the contents left in the file.
void BM_Open(benchmark::State& state) { ReadTable(state, ReadMode::ContentsOnDemand, false); }
void BM_OpenAndNamesToScreenText(benchmark::State& state) { ReadTable(state, ReadMode::ContentsOnDemand, true); }

void BM_Baseline_WriteBytesFsync(benchmark::State& state) {
    std::string bytes;
    {
        StringSink sink;
        WriteCategory(sink, "large", LargeCategory());
        bytes = sink.Bytes();
    }
    const std::filesystem::path target = ScratchFolder() / "baseline.bin";
    for (auto _ : state) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (written <= 0) {
                break;
            }
            done += static_cast<std::size_t>(written);
        }
        ::fsync(fd);
        ::close(fd);
        state.PauseTiming();
        std::filesystem::remove(target);
        state.ResumeTiming();
    }
}

void BM_CrashSafeWrite(benchmark::State& state) {
    const CardTable cards = LargeCategory();
    const std::filesystem::path target = ScratchFolder() / "Qulan.002";
    for (auto _ : state) {
        if (WriteCategoryFile(target, "large", cards)) {
            state.SkipWithError("write failed");
        }
    }
}

// The program's save: an opened category with one card changed, the rest copied from the file.
void BM_SaveOpenedCategory(benchmark::State& state) {
    const std::filesystem::path source = ScratchFolder() / "Qulan.003";
    std::filesystem::copy_file(LargeFile(), source, std::filesystem::copy_options::overwrite_existing);
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    if (ReadCategoryFile(source, ReadMode::ContentsOnDemand, HeaderCheck::Check, {name, count, &cards})) {
        state.SkipWithError("read failed");
    }
    cards.Replace(cards.Size() / 2, {"changed", "new text", ""});
    const std::filesystem::path target = ScratchFolder() / "Qulan.004";
    for (auto _ : state) {
        if (WriteCategoryFile(target, name, cards)) {
            state.SkipWithError("write failed");
        }
    }
}

BENCHMARK(BM_Baseline_ReadBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenAndNamesToScreenText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Baseline_WriteBytesFsync)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_CrashSafeWrite)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_SaveOpenedCategory)->Unit(benchmark::kMillisecond)->MinTime(3.0);

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // Keyed by the function's name alone, without the "/min_time:..." suffix.
            const std::string name = run.benchmark_name();
            m_seconds[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
        }
    }
    void PrintRatios() const {
        std::printf("\n");
        PrintRatio("open a category (names, contents left in the file) / read its bytes into a warm buffer", "BM_Open",
                   "BM_Baseline_ReadBytes", 1.5);
        PrintRatio("open and every name in UTF-8 / read its bytes into a warm buffer", "BM_OpenAndNamesToScreenText",
                   "BM_Baseline_ReadBytes", 0);
        PrintRatio("full read (every content in memory) / read its bytes into a warm buffer", "BM_FullRead",
                   "BM_Baseline_ReadBytes", 0);
        PrintRatio("crash-safe write of a table in memory / write the same bytes and fsync", "BM_CrashSafeWrite",
                   "BM_Baseline_WriteBytesFsync", 2.0);
        PrintRatio("save of an opened category, one card changed / write the same bytes and fsync",
                   "BM_SaveOpenedCategory", "BM_Baseline_WriteBytesFsync", 2.0);
    }

private:
    void PrintRatio(const char* what, const char* measured, const char* baseline, double goal) const {
        const auto m = m_seconds.find(measured);
        const auto b = m_seconds.find(baseline);
        if (m == m_seconds.end() || b == m_seconds.end()) {
            std::printf("ratio %s: not measured\n", what);
            return;
        }
        std::printf("ratio %s: %.2f", what, m->second / b->second);
        std::printf(goal > 0 ? " (goal at most %.1f)\n" : " (for information)\n", goal);
    }

    std::map<std::string, double> m_seconds;
};

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    quillet::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
