#include "server/AudioPreview.h"

#include <cmath>
#include <algorithm>
#include <cstring>

namespace corvanta::server {

namespace {

void Put16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v & 0xffff));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

bool CAudioPreview::ParsePath(const std::string& page, int64_t& performanceId)
{
    const std::string prefix = "preview/", suffix = ".wav";
    if (page.size() <= prefix.size() + suffix.size() || page.compare(0, prefix.size(), prefix) != 0 ||
        page.compare(page.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    std::string digits = page.substr(prefix.size(), page.size() - prefix.size() - suffix.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    performanceId = std::stoll(digits);
    return true;
}

std::string CAudioPreview::Wave(int64_t performanceId)
{
    const uint32_t rate = 8000, seconds = 3, samples = rate * seconds;
    // Two notes a fifth apart, a semitone step per track, so previews are told apart.
    const double base = 220.0 * std::pow(2.0, static_cast<double>(performanceId % 24) / 12.0);
    std::string out;
    out.reserve(44 + samples * 2);
    out += "RIFF";
    Put32(out, 36 + samples * 2);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, rate);
    Put32(out, rate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        double t = static_cast<double>(i) / rate;
        double frequency = i < samples / 2 ? base : base * 1.5;
        double envelope = std::min({1.0, t / 0.05, (seconds - t) / 0.2});
        double value = 0.3 * envelope * std::sin(2 * M_PI * frequency * t);
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(value * 32767)));
    }
    return out;
}

}  // namespace corvanta::server
