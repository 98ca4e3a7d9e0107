// Speed of the byte rules over 100 MB buffers, beside memchr and memcpy over
// the same bytes: prints one table with the median, the range of the runs and
// the throughput relative to memcpy (the machine's bandwidth).
#include "document/LineBreaks.h"
#include "bench/AsciiLines.h"
#include "document/ListLines.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t kSize = 100u << 20;

std::string AsciiText(const char* lineBreak) { return AsciiLines(kSize, lineBreak, 12345); }

// Lines of double-byte characters (hiragana, kanji, whose second bytes include
// 0x5C and 0x7C) with a few ASCII ones, CR LF line breaks.
std::string ShiftJisText() {
    static const unsigned char pairs[][2] = {{0x82, 0xA0}, {0x95, 0x5C}, {0x83, 0x7C}, {0x93, 0xFA},
                                             {0x96, 0x7B}, {0x8C, 0xEA}, {0xE0, 0x40}, {0x88, 0xEA}};
    std::string text;
    text.reserve(kSize + 128);
    unsigned seed = 777;
    while (text.size() < kSize) {
        seed = seed * 1103515245 + 12345;
        const unsigned length = 10 + (seed >> 16) % 30;
        for (unsigned i = 0; i < length; ++i) {
            const auto& pair = pairs[(seed >> 8) % 8];
            text.push_back(static_cast<char>(pair[0]));
            text.push_back(static_cast<char>(pair[1]));
            seed = seed * 1103515245 + 12345;
            if (seed % 16 == 0) text.push_back('a');
        }
        text += "\r\n";
    }
    text.resize(kSize - (kSize % 2));
    return text;
}

const std::string& CrLf() {
    static const std::string text = AsciiText("\r\n");
    return text;
}
const std::string& LfOnly() {
    static const std::string text = AsciiText("\n");
    return text;
}
const std::string& Dense() {
    static const std::string text = ShiftJisText();
    return text;
}

const moke::LeadBytes& Sjis() {
    static const moke::LeadBytes lead = moke::LeadBytes::ShiftJis();
    return lead;
}

void Normalise(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        std::string out;
        const bool copied = moke::NormalizeLineBreaks(text, out, Sjis());
        benchmark::DoNotOptimize(copied);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void NormaliseCrLf(benchmark::State& state) { Normalise(state, CrLf()); }
void NormaliseLfOnly(benchmark::State& state) { Normalise(state, LfOnly()); }
void NormaliseShiftJis(benchmark::State& state) { Normalise(state, Dense()); }

// As a file is loaded: the text just read, with room behind it that has not
// been touched yet. Making that text (untimed) stands for reading the file.
void NormaliseLfOnlyInPlace(benchmark::State& state) {
    const std::string& text = LfOnly();
    for (auto _ : state) {
        state.PauseTiming();
        auto own = std::make_unique<std::string>();
        own->reserve(text.size() + text.size() / 8 + 16);
        own->assign(text);
        state.ResumeTiming();
        const bool changed = moke::NormalizeLineBreaksInPlace(*own, Sjis());
        benchmark::DoNotOptimize(changed);
        benchmark::DoNotOptimize(own->data());
        state.PauseTiming();
        own.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void SplitListLines(benchmark::State& state) {
    const std::string& text = CrLf();
    for (auto _ : state) {
        size_t lines = 0;
        moke::ForEachListLine(text, [&lines](std::string_view line) { lines += line.size() != 0; });
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Memchr(benchmark::State& state) {
    const std::string& text = CrLf();
    for (auto _ : state) benchmark::DoNotOptimize(std::memchr(text.data(), 0, text.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Memcpy(benchmark::State& state) {
    const std::string& text = CrLf();
    std::string copy(text.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Copying into memory fresh from the system, as every copying path must: the
// floor for the LF-only normalisation.
void CopyToFreshMemory(benchmark::State& state) {
    const std::string& text = LfOnly();
    for (auto _ : state) {
        std::string copy(text);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Collects every run and prints the table once everything has run.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override {
        std::printf("Byte rules over %zu MB (%d CPUs at %.0f MHz), %s\n", kSize >> 20, context.cpu_info.num_cpus,
                    context.cpu_info.cycles_per_second / 1e6, "each row: 7 runs");
        return true;
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            std::vector<double>& times = times_[run.run_name.function_name];
            if (times.empty()) order_.push_back(run.run_name.function_name);
            times.push_back(run.GetAdjustedRealTime()); // in the time unit (ms)
        }
    }
    void Finalize() override {
        for (auto& [name, times] : times_) std::sort(times.begin(), times.end());
        const double copyMs = Median(times_["Memcpy"]);
        std::printf("\n%-20s %10s %21s %9s %14s\n", "benchmark", "median ms", "min-max ms", "GB/s", "vs memcpy");
        for (const std::string& name : order_) {
            const std::vector<double>& t = times_[name];
            const double median = Median(t);
            const double gbps = static_cast<double>(kSize) / (median / 1000.0) / 1e9;
            std::printf("%-20s %10.2f %9.2f - %9.2f %9.2f %13.2fx\n", name.c_str(), median, t.front(), t.back(), gbps,
                        copyMs / median);
        }
        std::printf("\n(vs memcpy: throughput relative to memcpy over the same 100 MB into memory already in use;\n"
                    " above 1 is faster. CopyToFreshMemory is the floor of any path that makes a new text.)\n");
    }

private:
    // Of sorted times.
    static double Median(const std::vector<double>& t) {
        if (t.empty()) return 0;
        return t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
    }
    std::map<std::string, std::vector<double>> times_;
    std::vector<std::string> order_;
};

} // namespace

#define MOKE_BENCH(fn)                                                                                         \
    BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->MinTime(0.3)

MOKE_BENCH(Memchr);
MOKE_BENCH(Memcpy);
MOKE_BENCH(CopyToFreshMemory);
MOKE_BENCH(NormaliseCrLf);
MOKE_BENCH(NormaliseLfOnly);
MOKE_BENCH(NormaliseLfOnlyInPlace);
MOKE_BENCH(NormaliseShiftJis);
MOKE_BENCH(SplitListLines);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Build the buffers before any timing.
    (void)CrLf();
    (void)LfOnly();
    (void)Dense();
    TableReporter table;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
