// Mixing cost: 32 looping voices with volume, pan and pitch, 10 s of output.
// Prints "RATIO mix <10 s / time to mix 10 s>" (real time over mixing time).
#include "platform/audio/Mixer.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using namespace Lumo::Platform;

constexpr size_t kVoices = 32;
constexpr size_t kSeconds = 10;
constexpr size_t kFrames = Mixer::kOutputRate * kSeconds;

std::vector<VoiceId> StartVoices()
{
    std::vector<VoiceId> voices;
    for (size_t i = 0; i < kVoices; ++i)
    {
        const uint16_t channels = uint16_t(1 + i % 2);
        const uint32_t rate = i % 3 == 0 ? 22050 : 44100;
        const size_t frames = 5000 + i * 731;
        auto data = std::make_shared<SampleData>(PcmFormat{channels, 16, rate}, frames * channels * 2);
        auto* samples = reinterpret_cast<int16_t*>(data->Bytes());
        for (size_t s = 0; s < frames * channels; ++s)
            samples[s] = int16_t(3000.0 * std::sin(double(s) * 0.01 * double(i + 1)));
        VoiceId voice = Mixer::Get().CreateVoice(data);
        Mixer::Get().SetGains(voice, 0.2f + 0.02f * float(i), 0.8f - 0.02f * float(i));
        Mixer::Get().SetFrequency(voice, uint32_t(double(rate) * std::pow(1.0594630943592953, double(i % 7) - 3.0)));
        Mixer::Get().Play(voice, true);
        voices.push_back(voice);
    }
    return voices;
}

void BM_Mix32Voices10Seconds(benchmark::State& state)
{
    const std::vector<VoiceId> voices = StartVoices();
    std::vector<int16_t> out(Mixer::kFramesPerUpdate * 2);
    for (auto _ : state)
    {
        for (size_t done = 0; done < kFrames; done += Mixer::kFramesPerUpdate)
            Mixer::Get().Mix(out.data(), Mixer::kFramesPerUpdate);
        benchmark::DoNotOptimize(out.data());
    }
    for (VoiceId voice : voices)
        Mixer::Get().DestroyVoice(voice);
}
BENCHMARK(BM_Mix32Voices10Seconds)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps the per-iteration real time of the mixing run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter() : ConsoleReporter(OO_None) {} // plain text: the RATIO line starts its line
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                secondsPerRun = run.real_accumulated_time / double(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    double secondsPerRun = 0.0;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.secondsPerRun <= 0.0)
    {
        std::fprintf(stderr, "bench_audio_mix: the mixing run was not measured\n");
        return 1;
    }
    std::printf("RATIO mix %.1f\n", double(kSeconds) / reporter.secondsPerRun);
    return 0;
}
