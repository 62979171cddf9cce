#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include "bench_data.h"
#include "store/category_file.h"

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

// Both reads start from memory the process has given back, as a load in a fresh program does: each pays for
// the memory it needs. The warm variant keeps one buffer and shows the reading alone.
std::string ReadBytes(std::string bytes) {
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
    return bytes;
}

void GiveMemoryBack(benchmark::State& state) {
    state.PauseTiming();
    ::malloc_trim(0);
    state.ResumeTiming();
}

void BM_Baseline_ReadBytes(benchmark::State& state) {
    for (auto _ : state) {
        {
            const std::string bytes = ReadBytes({});
            benchmark::DoNotOptimize(bytes.data());
            state.PauseTiming();
        }
        state.ResumeTiming();
        GiveMemoryBack(state);
    }
    state.SetBytesProcessed(state.iterations() * LargeFileSize());
}

void BM_FullRead(benchmark::State& state) {
    for (auto _ : state) {
        {
            std::string name;
            std::int32_t count = 0;
            CardTable cards;
            if (ReadCategoryFile(LargeFile(), ReadMode::Full, HeaderCheck::Check, {name, count, &cards})) {
                state.SkipWithError("read failed");
            }
            benchmark::DoNotOptimize(cards.Size());
            state.PauseTiming();
        }
        state.ResumeTiming();
        GiveMemoryBack(state);
    }
    state.SetBytesProcessed(state.iterations() * LargeFileSize());
}

void BM_Warm_Baseline_ReadBytes(benchmark::State& state) {
    std::string buffer(static_cast<std::size_t>(LargeFileSize()), '\0');
    for (auto _ : state) {
        buffer = ReadBytes(std::move(buffer));
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * LargeFileSize());
}

void BM_Warm_FullRead(benchmark::State& state) {
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    for (auto _ : state) {
        ReadCategoryFile(LargeFile(), ReadMode::Full, HeaderCheck::Check, {name, count, &cards});
        benchmark::DoNotOptimize(cards.Size());
    }
    state.SetBytesProcessed(state.iterations() * LargeFileSize());
}

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

BENCHMARK(BM_Baseline_ReadBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Warm_Baseline_ReadBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Warm_FullRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Baseline_WriteBytesFsync)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_CrashSafeWrite)->Unit(benchmark::kMillisecond)->MinTime(3.0);

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
        PrintRatio("full read / read bytes", "BM_FullRead", "BM_Baseline_ReadBytes", 1.5);
        PrintRatio("warm: full read / read bytes", "BM_Warm_FullRead", "BM_Warm_Baseline_ReadBytes", 0);
        PrintRatio("crash-safe write / write+fsync", "BM_CrashSafeWrite", "BM_Baseline_WriteBytesFsync", 2.0);
    }

private:
    void PrintRatio(const char* what, const char* measured, const char* baseline, double goal) const {
        const auto m = m_seconds.find(measured);
        const auto b = m_seconds.find(baseline);
        if (m == m_seconds.end() || b == m_seconds.end()) {
            std::printf("ratio %-32s not measured\n", what);
            return;
        }
        std::printf("ratio %-32s %.2f", what, m->second / b->second);
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
