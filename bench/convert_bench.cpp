// Throughput and peak memory of convertQuotes on large inputs, next to what it is
// measured against: copying its output's size into fresh memory, and the std::string
// loops one would write instead.
//
// Throughput is counted in input bytes for every variant, so the figures compare
// directly. Peak memory is counted by the replaced operator new below.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "text/convert.h"
#include "text/text.h"

using namespace velmora;

[[noreturn]] void velmora::textOutOfMemory(std::int64_t bytesRequested) {
    std::fprintf(stderr, "text out of memory: %lld bytes\n",
                 static_cast<long long>(bytesRequested));
    std::abort();
}

// Heap accounting for the peak-memory figure. Every allocation goes through here, so
// it is global by necessity; the benchmark is single-threaded.
namespace {

struct alignas(16) BlockHeader {
    std::size_t size;
};

std::int64_t gLiveBytes = 0;
std::int64_t gPeakBytes = 0;

void* allocate(std::size_t size) noexcept {
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (header == nullptr) {
        return nullptr;
    }
    header->size = size;
    gLiveBytes += static_cast<std::int64_t>(size);
    if (gLiveBytes > gPeakBytes) {
        gPeakBytes = gLiveBytes;
    }
    return header + 1;
}

void release(void* p) noexcept {
    if (p != nullptr) {
        auto* header = static_cast<BlockHeader*>(p) - 1;
        gLiveBytes -= static_cast<std::int64_t>(header->size);
        std::free(header);
    }
}

void* allocateOrThrow(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}

namespace {

constexpr std::string_view kReplacement = "\"+#\xD2\xFD\xBA\xC5+\"";  // "+#引号+"

// A fixed sequence, the same on every run and every library.
struct SplitMix {
    std::uint64_t state;
    std::uint32_t operator()(std::uint32_t below) {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) % below);
    }
};

// Words of ASCII letters with about 2% quotes, 3% two-byte characters of code page 936
// (lead 0x81-0xFE, trail 0x40-0xFE but not 0x7F) and CR LF line breaks.
std::string mixedText(std::size_t size) {
    SplitMix rng{42};
    std::string s;
    s.reserve(size + 2);
    while (s.size() < size) {
        const std::uint32_t roll = rng(1000);
        if (roll < 20) {
            s += '"';
        } else if (roll < 35) {
            s += static_cast<char>(0x81 + rng(0xFE - 0x81 + 1));
            std::uint32_t trail = 0x40 + rng(0xFE - 0x40);
            trail += trail >= 0x7F ? 1 : 0;
            s += static_cast<char>(trail);
        } else if (roll < 50) {
            s += "\r\n";
        } else if (roll < 200) {
            s += ' ';
        } else {
            s += static_cast<char>('a' + rng(26));
        }
    }
    s.resize(size);
    return s;
}

struct Input {
    const char* name;
    Text text;
    std::int64_t outputSize;
};

Input makeInput(const char* name, const std::string& bytes) {
    Input input{name, Text(bytes), 0};
    input.outputSize = textLength(convertQuotes(input.text));
    return input;
}

void convertQuotesBench(benchmark::State& state, const Input* input) {
    for (auto _ : state) {
        Text result = convertQuotes(input->text);
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(state.iterations() * textLength(input->text));
}

// What a conversion cannot beat: its output's bytes written once into new memory.
void memcpyOutputBench(benchmark::State& state, const Input* input) {
    const Text output = convertQuotes(input->text);
    const auto size = static_cast<std::size_t>(input->outputSize);
    for (auto _ : state) {
        char* fresh = new char[size + 1];
        std::memcpy(fresh, output.data(), size + 1);
        benchmark::DoNotOptimize(fresh);
        benchmark::ClobberMemory();
        delete[] fresh;
    }
    state.SetBytesProcessed(state.iterations() * textLength(input->text));
}

// The plain loop into a new string, growing as it goes.
std::string replaceByAppending(std::string_view in) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t quote = in.find('"'); quote != std::string_view::npos;
         quote = in.find('"', from)) {
        out.append(in, from, quote - from);
        out += kReplacement;
        from = quote + 1;
    }
    out.append(in, from);
    return out;
}

void stringAppendLoopBench(benchmark::State& state, const Input* input) {
    for (auto _ : state) {
        std::string result = replaceByAppending(input->text.view());
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(state.iterations() * textLength(input->text));
}

// The loop as usually first written: replace in place on a copy. Each replacement
// moves the whole tail, so it is quadratic and only run on a prefix (see its name).
void stringReplaceInPlaceBench(benchmark::State& state, const Input* input) {
    const auto prefix = static_cast<std::size_t>(state.range(0));
    const std::string_view in = input->text.view().substr(0, prefix);
    for (auto _ : state) {
        std::string s(in);
        for (std::size_t at = s.find('"'); at != std::string::npos;
             at = s.find('"', at + kReplacement.size())) {
            s.replace(at, 1, kReplacement);
        }
        benchmark::DoNotOptimize(s.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.size()));
}

void convertQuotesPrefixBench(benchmark::State& state, const Input* input) {
    const auto prefix = static_cast<std::size_t>(state.range(0));
    const Text in(input->text.view().substr(0, prefix));
    for (auto _ : state) {
        Text result = convertQuotes(in);
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(state.iterations() * textLength(in));
}

// Heap bytes live at the worst moment of one call, the input included.
template <class Call>
std::int64_t peakBytesOf(const Input& input, Call call) {
    const std::int64_t before = gLiveBytes;
    gPeakBytes = gLiveBytes;
    call();
    return gPeakBytes - before + textLength(input.text);
}

void reportPeakMemory(const Input& input) {
    const std::int64_t in = textLength(input.text);
    const std::int64_t budget = in + 2 * input.outputSize;
    const std::int64_t converting = peakBytesOf(input, [&] {
        Text result = convertQuotes(input.text);
        benchmark::DoNotOptimize(result.data());
    });
    const std::int64_t appending = peakBytesOf(input, [&] {
        std::string result = replaceByAppending(input.text.view());
        benchmark::DoNotOptimize(result.data());
    });
    std::printf("%s: input %lld bytes, output %lld bytes, budget input + 2 x output = %lld\n",
                input.name, static_cast<long long>(in), static_cast<long long>(input.outputSize),
                static_cast<long long>(budget));
    std::printf(
        "  peak heap, convertQuotes:     %lld bytes = %.3f of budget (input + %.3f x "
        "output)\n",
        static_cast<long long>(converting), double(converting) / double(budget),
        double(converting - in) / double(input.outputSize));
    std::printf("  peak heap, std::string loop:  %lld bytes = %.3f of budget\n",
                static_cast<long long>(appending), double(appending) / double(budget));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    static const Input mixed = makeInput("mixed_64MiB", mixedText(std::size_t{64} << 20));
    static const Input quotes = makeInput("quotes_8MiB", std::string(std::size_t{8} << 20, '"'));

    for (const Input* input : {&mixed, &quotes}) {
        reportPeakMemory(*input);
        const std::string name = input->name;
        benchmark::RegisterBenchmark(("convertQuotes/" + name).c_str(), convertQuotesBench, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("memcpyOutputFresh/" + name).c_str(), memcpyOutputBench,
                                     input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("stringAppendLoop/" + name).c_str(), stringAppendLoopBench,
                                     input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        // The in-place loop is quadratic: a prefix only, with the conversion beside it.
        const std::int64_t prefix = input == &mixed ? 256 << 10 : 16 << 10;
        benchmark::RegisterBenchmark(("stringReplaceInPlace_prefix/" + name).c_str(),
                                     stringReplaceInPlaceBench, input)
            ->Arg(prefix)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("convertQuotes_prefix/" + name).c_str(),
                                     convertQuotesPrefixBench, input)
            ->Arg(prefix)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
