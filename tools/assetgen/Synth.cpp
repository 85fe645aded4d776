#include "tools/assetgen/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

double MidiToHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

namespace {

struct SineTable
{
    static constexpr int kSize = 4096;
    double values[kSize + 1];
    SineTable()
    {
        for (int i = 0; i <= kSize; ++i)
            values[i] = std::sin(2 * kPi * i / kSize);
    }
};

const SineTable& Sines()
{
    static const SineTable table;
    return table;
}

} // namespace

double SineCycles(double phase)
{
    phase -= std::floor(phase);
    const double x = phase * SineTable::kSize;
    const int i = static_cast<int>(x);
    const double f = x - i;
    const SineTable& t = Sines();
    return t.values[i] + (t.values[i + 1] - t.values[i]) * f;
}

double FastExp(double x)
{
    if (x < -700)
        return 0;
    // 2^(x log2 e): whole powers exactly, the fraction by a polynomial.
    const double y = x * 1.4426950408889634;
    const double whole = std::floor(y + 0.5); // fraction in [-0.5, 0.5): error about 2e-7
    const double f = y - whole;
    const double p =
        1.0 + f * (0.6931471805599453 +
                   f * (0.2402265069591007 +
                        f * (0.05550410866482158 +
                             f * (0.009618129107628477 + f * (0.0013333558146428443 + f * 0.00015403530393381606)))));
    return std::ldexp(p, static_cast<int>(whole));
}

namespace {

// Polynomial band-limited step: smooths the discontinuity of a saw or square.
double PolyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

double Oscillator::Next(double hz, int rate)
{
    const double dt = std::min(0.5, hz / rate);
    double value = 0;
    switch (mShape)
    {
    case WaveShape::Sine:
        value = SineCycles(mPhase);
        break;
    case WaveShape::Saw:
        value = 2.0 * mPhase - 1.0 - PolyBlep(mPhase, dt);
        break;
    case WaveShape::Square:
    case WaveShape::Pulse25:
    case WaveShape::Triangle:
    {
        const double width = mShape == WaveShape::Pulse25 ? 0.25 : 0.5;
        value = mPhase < width ? 1.0 : -1.0;
        value += PolyBlep(mPhase, dt);
        value -= PolyBlep(std::fmod(mPhase + 1.0 - width, 1.0), dt);
        if (mShape == WaveShape::Triangle)
        {
            // Integrated square: a band-limited triangle.
            mTriangle = dt * value * 4.0 + (1.0 - dt * 0.05) * mTriangle;
            value = mTriangle;
        }
        break;
    }
    }
    mPhase += dt;
    if (mPhase >= 1.0)
        mPhase -= 1.0;
    return value;
}

double Noise::Next()
{
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return (mState >> 8) / 8388608.0 - 1.0;
}

double Envelope::At(double t, double hold) const
{
    if (t < 0)
        return 0;
    auto held = [this](double u) {
        if (u < attack)
            return u / attack;
        if (u < attack + decay)
            return 1.0 - (1.0 - sustain) * (u - attack) / decay;
        return sustain;
    };
    if (t < hold)
        return held(t);
    const double level = held(hold);
    const double r = t - hold;
    return r >= release ? 0.0 : level * (1.0 - r / release);
}

Decay::Decay(double tau, double attack, int rate)
    : mFactor(std::exp(-1.0 / (tau * rate))), mRiseStep(1.0 / std::max(1.0, attack * rate))
{
}

double Decay::Next()
{
    const double out = mValue * std::min(1.0, mRise);
    mValue *= mFactor;
    mRise += mRiseStep;
    return out;
}

double Pluck(double t, double tau, double attack)
{
    if (t < 0)
        return 0;
    const double rise = t < attack ? t / attack : 1.0;
    return rise * FastExp(-t / tau);
}

void Filter::Run(double input, double cutoff, double q, int rate)
{
    if (cutoff != mCutoff || q != mQ || rate != mRate)
    {
        mCutoff = cutoff, mQ = q, mRate = rate;
        const double g = std::tan(kPi * std::clamp(cutoff, 10.0, rate * 0.45) / rate);
        mK = 1.0 / std::max(q, 0.5);
        mA1 = 1.0 / (1.0 + g * (g + mK));
        mA2 = g * mA1;
        mA3 = g * mA2;
    }
    const double a1 = mA1, a2 = mA2, a3 = mA3, k = mK;
    const double v3 = input - mIc2;
    const double v1 = a1 * mIc1 + a2 * v3;
    const double v2 = mIc2 + a2 * mIc1 + a3 * v3;
    mIc1 = 2 * v1 - mIc1;
    mIc2 = 2 * v2 - mIc2;
    low = v2;
    band = v1;
    high = input - k * v1 - v2;
}

const Vowel kVowelA{800, 1150, 2900};
const Vowel kVowelE{400, 1700, 2600};
const Vowel kVowelI{300, 2200, 3000};
const Vowel kVowelO{450, 800, 2830};
const Vowel kVowelU{325, 700, 2530};

double FormantVoice::Next(double pitchHz, const Vowel& vowel, double breath)
{
    const double source = mSource.Next(pitchHz) * (1.0 - breath) + mNoise.Next() * breath;
    const double formants[3] = {vowel.f1, vowel.f2, vowel.f3};
    const double gains[3] = {1.0, 0.6, 0.25};
    double out = 0;
    for (int i = 0; i < 3; ++i)
    {
        mF[i].Run(source, formants[i], 8.0);
        out += mF[i].band * gains[i];
    }
    return out;
}

std::vector<double> MonoTrack(double seconds, int rate)
{
    return std::vector<double>(static_cast<size_t>(std::max(1.0, seconds * rate)), 0.0);
}

void MixInto(std::vector<float>& dst, size_t dstFrames, const std::vector<double>& src, size_t offset, double gain,
             double pan, bool wrap)
{
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
    const double left = std::cos(angle) * gain * std::sqrt(2.0);
    const double right = std::sin(angle) * gain * std::sqrt(2.0);
    for (size_t i = 0; i < src.size(); ++i)
    {
        size_t frame = offset + i;
        if (frame >= dstFrames)
        {
            if (!wrap)
                break;
            frame %= dstFrames;
        }
        dst[frame * 2] += static_cast<float>(src[i] * left);
        dst[frame * 2 + 1] += static_cast<float>(src[i] * right);
    }
}

namespace {

class Comb
{
public:
    explicit Comb(size_t length) : mBuffer(length, 0.0) {}
    double Run(double input, double feedback, double damp)
    {
        const double out = mBuffer[mPos];
        mStore = out * (1.0 - damp) + mStore * damp;
        mBuffer[mPos] = input + mStore * feedback;
        mPos = (mPos + 1) % mBuffer.size();
        return out;
    }

private:
    std::vector<double> mBuffer;
    size_t mPos = 0;
    double mStore = 0;
};

class AllPass
{
public:
    explicit AllPass(size_t length) : mBuffer(length, 0.0) {}
    double Run(double input)
    {
        const double delayed = mBuffer[mPos];
        const double out = -input + delayed;
        mBuffer[mPos] = input + delayed * 0.5;
        mPos = (mPos + 1) % mBuffer.size();
        return out;
    }

private:
    std::vector<double> mBuffer;
    size_t mPos = 0;
};

struct ReverbChannel
{
    std::vector<Comb> combs;
    std::vector<AllPass> passes;
    ReverbChannel(int spread, double size)
    {
        for (int length : {1116, 1188, 1277, 1356})
            combs.emplace_back(static_cast<size_t>((length + spread) * size));
        for (int length : {556, 441})
            passes.emplace_back(static_cast<size_t>(length + spread));
    }
    double Run(double input)
    {
        double sum = 0;
        for (Comb& comb : combs)
            sum += comb.Run(input, 0.78, 0.3);
        for (AllPass& pass : passes)
            sum = pass.Run(sum);
        return sum;
    }
};

} // namespace

void AddReverb(std::vector<float>& stereo, double wet, double roomSize, bool loop)
{
    const size_t frames = stereo.size() / 2;
    ReverbChannel left(0, roomSize), right(23, roomSize);
    std::vector<float> out(stereo.size(), 0.0f);
    // Two passes over a loop let the tail of the end ring into the start.
    const int passes = loop ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass)
    {
        for (size_t i = 0; i < frames; ++i)
        {
            const double mono = (stereo[i * 2] + stereo[i * 2 + 1]) * 0.5 * 0.2;
            const double l = left.Run(mono);
            const double r = right.Run(mono);
            if (pass == passes - 1)
            {
                out[i * 2] = static_cast<float>(l);
                out[i * 2 + 1] = static_cast<float>(r);
            }
        }
    }
    for (size_t i = 0; i < stereo.size(); ++i)
        stereo[i] += static_cast<float>(out[i] * wet);
}

void BlockDc(std::vector<float>& samples, int channels)
{
    for (int c = 0; c < channels; ++c)
    {
        double previousIn = 0, previousOut = 0;
        for (size_t i = static_cast<size_t>(c); i < samples.size(); i += static_cast<size_t>(channels))
        {
            const double out = samples[i] - previousIn + 0.9986 * previousOut;
            previousIn = samples[i];
            previousOut = out;
            samples[i] = static_cast<float>(out);
        }
    }
}

void FadeEnds(std::vector<double>& mono, double fadeIn, double fadeOut, int rate)
{
    const size_t in = std::min(mono.size(), static_cast<size_t>(fadeIn * rate));
    const size_t out = std::min(mono.size(), static_cast<size_t>(fadeOut * rate));
    for (size_t i = 0; i < in; ++i)
        mono[i] *= static_cast<double>(i) / static_cast<double>(in);
    for (size_t i = 0; i < out; ++i)
        mono[mono.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(out);
}

PcmBuffer ToPcm(const std::vector<double>& mono, double peak, int rate)
{
    PcmBuffer pcm;
    pcm.rate = rate;
    pcm.channels = 1;
    pcm.samples.assign(mono.begin(), mono.end());
    BlockDc(pcm.samples, 1);
    Normalise(pcm, peak);
    return pcm;
}

} // namespace Lumo::AssetGen
