#include "tools/gamedata/SoundDescription.h"

#include "tools/gamedata/Description.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

namespace Tandry::GameData {
namespace {

// Bounds that keep a mistyped description from asking for gigabytes.
constexpr double kMaxSeconds = 600;
constexpr size_t kMaxVoices = 20000;

class Reader {
public:
    explicit Reader(std::string& error) : mError(error) {}

    bool Option(const Statement& s, const char* name, double low, double high, double& out, bool required)
    {
        const auto found = s.options.find(name);
        if (found == s.options.end()) {
            if (required)
                return Fail(s, std::string(s.word) + " needs " + name + "=");
            return true;
        }
        return Check(s, name, found->second, low, high, out);
    }

    bool Check(const Statement& s, const std::string& name, const std::string& text, double low, double high,
               double& out)
    {
        double value = 0;
        if (!ParseNumber(text, value) || value < low || value > high)
            return Fail(s, name + " must be a number from " + Short(low) + " to " + Short(high));
        out = value;
        return true;
    }

    bool Fail(const Statement& s, const std::string& message)
    {
        mError = LineError(s, message);
        return false;
    }

private:
    static std::string Short(double v)
    {
        std::string text = std::to_string(v);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
        return text;
    }

    std::string& mError;
};

bool KnownOptions(Reader& reader, const Statement& s, std::initializer_list<const char*> names)
{
    for (const auto& option : s.options) {
        const std::string& name = option.first;
        if (std::find_if(names.begin(), names.end(), [&name](const char* n) { return name == n; }) == names.end())
            return reader.Fail(s, "unknown option " + name + " of " + s.word);
    }
    if (!s.values.empty())
        return reader.Fail(s, s.word + " takes name=value options only");
    return true;
}

bool ReadShape(Reader& reader, const Statement& s, SoundVoice& voice)
{
    if (!reader.Option(s, "amp", 0, 4, voice.amp, false) || !reader.Option(s, "attack", 0, kMaxSeconds, voice.attack, false) ||
        !reader.Option(s, "release", 0, kMaxSeconds, voice.release, false) ||
        !reader.Option(s, "decay", 0, 1000, voice.decay, false) || !reader.Option(s, "pan", -1, 1, voice.pan, false))
        return false;
    const auto harmonics = s.options.find("harmonics");
    if (harmonics == s.options.end())
        return true;
    voice.harmonics.clear();
    const std::string& list = harmonics->second;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos)
            end = list.size();
        double weight = 0;
        if (!reader.Check(s, "each harmonic", list.substr(start, end - start), 0, 4, weight))
            return false;
        voice.harmonics.push_back(weight);
        start = end + 1;
    }
    if (voice.harmonics.size() > 16)
        return reader.Fail(s, "at most 16 harmonics");
    return true;
}

bool ReadTone(Reader& reader, const Statement& s, double secondsPerBeat, SoundVoice& voice)
{
    const bool note = s.word == "note";
    if (note) {
        if (!KnownOptions(reader, s, {"at", "beats", "pitch", "amp", "attack", "release", "decay", "harmonics", "pan"}))
            return false;
        double beats = 0;
        double pitch = 0;
        if (!reader.Option(s, "at", 0, 1e5, voice.at, true) || !reader.Option(s, "beats", 0, 1e4, beats, true) ||
            !reader.Option(s, "pitch", 0, 127, pitch, true))
            return false;
        voice.at *= secondsPerBeat;
        voice.length = beats * secondsPerBeat;
        voice.freq = 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0);
        voice.to = voice.freq;
    } else {
        if (!KnownOptions(reader, s, {"at", "length", "freq", "to", "amp", "attack", "release", "decay", "harmonics", "pan"}))
            return false;
        if (!reader.Option(s, "at", 0, kMaxSeconds, voice.at, true) ||
            !reader.Option(s, "length", 0, kMaxSeconds, voice.length, true) ||
            !reader.Option(s, "freq", 1, 20000, voice.freq, true))
            return false;
        voice.to = voice.freq;
        if (!reader.Option(s, "to", 1, 20000, voice.to, false))
            return false;
    }
    return ReadShape(reader, s, voice);
}

bool ReadNoise(Reader& reader, const Statement& s, SoundVoice& voice)
{
    voice.noise = true;
    return KnownOptions(reader, s, {"at", "length", "amp", "attack", "release", "decay", "smooth", "pan"}) &&
           reader.Option(s, "at", 0, kMaxSeconds, voice.at, true) &&
           reader.Option(s, "length", 0, kMaxSeconds, voice.length, true) &&
           reader.Option(s, "smooth", 0, 0.999, voice.smooth, false) && ReadShape(reader, s, voice);
}

// Copies the notes that start in [from, to) beats, times more times.
bool ReadRepeat(Reader& reader, const Statement& s, double secondsPerBeat, std::vector<SoundVoice>& voices)
{
    double from = 0, to = 0, times = 0;
    if (!KnownOptions(reader, s, {"from", "to", "times"}) || !reader.Option(s, "from", 0, 1e5, from, true) ||
        !reader.Option(s, "to", 0, 1e5, to, true) || !reader.Option(s, "times", 1, 1000, times, true))
        return false;
    if (to <= from)
        return reader.Fail(s, "a repeat ends after it starts");
    const double start = from * secondsPerBeat;
    const double end = to * secondsPerBeat;
    std::vector<SoundVoice> copied;
    for (const SoundVoice& voice : voices)
        if (voice.at >= start && voice.at < end)
            copied.push_back(voice);
    if (voices.size() + copied.size() * static_cast<size_t>(times) > kMaxVoices)
        return reader.Fail(s, "too many voices");
    for (int k = 1; k <= static_cast<int>(times); ++k) {
        for (SoundVoice voice : copied) {
            voice.at += k * (end - start);
            voices.push_back(voice);
        }
    }
    return true;
}

bool ReadSetting(Reader& reader, const Statement& s, SoundSettings& settings)
{
    struct Range {
        const char* word;
        double SoundSettings::*field;
        double low, high;
    };
    static constexpr Range kRanges[] = {
        {"length", &SoundSettings::length, 0.001, kMaxSeconds}, {"rate", &SoundSettings::rate, 8000, 48000},
        {"channels", &SoundSettings::channels, 1, 2},           {"gain", &SoundSettings::gain, 0, 16},
        {"seed", &SoundSettings::seed, 0, 4294967295.0},         {"tempo", &SoundSettings::tempo, 10, 400},
    };
    for (const Range& range : kRanges) {
        if (s.word != range.word)
            continue;
        if (s.values.size() != 1 || !s.options.empty())
            return reader.Fail(s, s.word + " takes one number");
        double value = 0;
        if (!reader.Check(s, s.word, s.values[0], range.low, range.high, value))
            return false;
        if ((s.word == "rate" || s.word == "channels" || s.word == "seed") && value != std::floor(value))
            return reader.Fail(s, s.word + " must be a whole number");
        settings.*range.field = value;
        return true;
    }
    return reader.Fail(s, "unknown statement " + s.word);
}

// The loudness of a voice t seconds after it starts.
double Envelope(const SoundVoice& voice, double t)
{
    double level = voice.attack > 0 && t < voice.attack ? t / voice.attack : 1.0;
    if (voice.decay > 0)
        level *= std::exp(-voice.decay * t);
    const double left = voice.length - t;
    if (voice.release > 0 && left < voice.release)
        level *= std::max(0.0, left / voice.release);
    return level;
}

// A 32-bit linear congruential generator: the same noise on every machine.
class Noise {
public:
    explicit Noise(uint32_t seed) : mState(seed) {}
    double Next()
    {
        mState = mState * 1664525u + 1013904223u;
        return static_cast<double>(mState >> 8) / 8388608.0 - 1.0;
    }

private:
    uint32_t mState;
};

void Render(const SoundVoice& voice, const SoundSettings& settings, uint32_t seed, std::vector<double>& mix)
{
    const double rate = settings.rate;
    const int channels = static_cast<int>(settings.channels);
    const size_t frames = mix.size() / channels;
    const size_t first = static_cast<size_t>(std::llround(voice.at * rate));
    const size_t count = static_cast<size_t>(std::llround(voice.length * rate));
    const double left = channels == 2 ? std::min(1.0, 1.0 - voice.pan) : 1.0;
    const double right = std::min(1.0, 1.0 + voice.pan);
    Noise noise(seed);
    double filtered = 0;
    double phase = 0;
    double weights = 0;
    for (const double w : voice.harmonics)
        weights += w;
    for (size_t i = 0; i < count && first + i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        double value = 0;
        if (voice.noise) {
            filtered = voice.smooth * filtered + (1.0 - voice.smooth) * noise.Next();
            value = filtered;
        } else {
            const double progress = count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0.0;
            const double freq = voice.freq + (voice.to - voice.freq) * progress;
            for (size_t h = 0; h < voice.harmonics.size(); ++h)
                value += voice.harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
            if (weights > 0)
                value /= weights;
            phase += 2.0 * std::numbers::pi * freq / rate;
            if (phase > 2.0 * std::numbers::pi * 1e6)
                phase = std::fmod(phase, 2.0 * std::numbers::pi);
        }
        value *= voice.amp * Envelope(voice, t);
        const size_t at = (first + i) * channels;
        mix[at] += value * left;
        if (channels == 2)
            mix[at + 1] += value * right;
    }
}

} // namespace

bool ParseSoundDescription(std::string_view text, SoundScore& out, std::string& error)
{
    std::vector<Statement> statements;
    if (!ParseDescription(text, statements, error))
        return false;
    Reader reader(error);
    SoundScore score;
    std::set<std::string> seen;
    // Settings first: the tempo turns the beats of notes into seconds wherever it stands.
    for (const Statement& s : statements) {
        if (s.word == "tone" || s.word == "noise" || s.word == "note" || s.word == "repeat")
            continue;
        if (!seen.insert(s.word).second)
            return reader.Fail(s, s.word + " is given twice");
        if (!ReadSetting(reader, s, score.settings))
            return false;
    }
    if (score.settings.length < 0) {
        error = "no length";
        return false;
    }
    const double secondsPerBeat = 60.0 / score.settings.tempo;
    for (const Statement& s : statements) {
        if (s.word == "repeat") {
            if (!ReadRepeat(reader, s, secondsPerBeat, score.voices))
                return false;
            continue;
        }
        SoundVoice voice;
        if (s.word == "tone" || s.word == "note") {
            if (!ReadTone(reader, s, secondsPerBeat, voice))
                return false;
        } else if (s.word == "noise") {
            if (!ReadNoise(reader, s, voice))
                return false;
        } else {
            continue;
        }
        if (score.voices.size() >= kMaxVoices)
            return reader.Fail(s, "too many voices");
        score.voices.push_back(voice);
    }
    out = std::move(score);
    return true;
}

SynthSound RenderSound(const SoundScore& score)
{
    const SoundSettings& settings = score.settings;
    const int channels = static_cast<int>(settings.channels);
    const size_t frames = static_cast<size_t>(std::llround(settings.length * settings.rate));
    std::vector<double> mix(frames * channels, 0.0);
    uint32_t seed = static_cast<uint32_t>(settings.seed);
    for (const SoundVoice& voice : score.voices)
        Render(voice, settings, seed++, mix);

    SynthSound sound;
    sound.rate = static_cast<uint32_t>(settings.rate);
    sound.channels = channels;
    sound.samples.resize(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        const double value = std::clamp(mix[i] * settings.gain, -1.0, 1.0);
        sound.samples[i] = static_cast<int16_t>(std::lround(value * 32767.0));
    }
    return sound;
}

} // namespace Tandry::GameData
