// Random numbers, calendar arithmetic, work units and their best signals for the demo data.
#include "demo_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace demo
{

std::uint64_t Rng::Next()
{
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

double Rng::Uniform()
{
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double Rng::Range(double lo, double hi)
{
    return lo + (hi - lo) * Uniform();
}

int Rng::Int(int lo, int hi)
{
    const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<int>(Next() % span);
}

double Rng::Bell()
{
    // Irwin-Hall with 12 terms: variance 1, no library distribution involved.
    double sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += Uniform();
    return sum - 6.0;
}

std::uint64_t HashText(const std::string& text)
{
    std::uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

namespace
{

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// Month codes of work-unit names, January first.
const char* const kMonthCodes[12] = {"ja", "fe", "mr", "ap", "my", "jn", "jl", "au", "se", "oc", "no", "de"};

std::int64_t DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Civil {
    int year, month, day, hour, minute, second, weekday;
};

Civil CivilFromUnix(std::int64_t unixSeconds)
{
    std::int64_t days = unixSeconds / 86400;
    std::int64_t rest = unixSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    Civil c{};
    c.weekday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    c.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    c.year = static_cast<int>(yearOfEra + era * 400 + (c.month <= 2));
    c.hour = static_cast<int>(rest / 3600);
    c.minute = static_cast<int>(rest % 3600 / 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

// Declinations of the drift-scan stripes most work units come from.
constexpr double kStripes[] = {-27.6, -17.4, -8.2, -1.4, 2.3, 6.8, 12.1, 17.9, 18.6, 24.6, 28.2, 33.7, 37.9};

double Clamp(double v, double lo, double hi)
{
    return std::min(hi, std::max(lo, v));
}

} // namespace

std::int64_t UnixFromCivil(int year, int month, int day, int hour, int minute, int second)
{
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string AscTime(std::int64_t unixSeconds)
{
    const Civil c = CivilFromUnix(unixSeconds);
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kDayNames[c.weekday], kMonthNames[c.month - 1],
                  c.day, c.hour, c.minute, c.second, c.year);
    return text;
}

std::string ClientDate(std::int64_t unixSeconds)
{
    char julian[32];
    std::snprintf(julian, sizeof julian, "%.5f", static_cast<double>(unixSeconds) / 86400.0 + 2440587.5);
    return std::string(julian) + " (" + AscTime(unixSeconds) + ")";
}

std::string LogDate(std::int64_t unixSeconds)
{
    const Civil c = CivilFromUnix(unixSeconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
}

double OperationsPerWorkUnit(double a)
{
    if (a < 0.2255)
        return 3.54e12 * std::exp(0.0327 * a);
    if (a <= 1.1274)
        return 3.74e12 * std::pow(a, -0.1075);
    return 3.37e12 * std::pow(a, -0.0065);
}

std::string MakeWorkUnitName(Rng& rng, std::int64_t recorded)
{
    const Civil c = CivilFromUnix(recorded);
    char text[64];
    std::snprintf(text, sizeof text, "%02d%s%02d%c%c.%d.%d.%d.%d", c.day, kMonthCodes[c.month - 1], c.year % 100,
                  'a' + rng.Int(0, 2), 'a' + rng.Int(0, 25), rng.Int(1000, 32000), rng.Int(1000, 32000),
                  rng.Int(10, 999), rng.Int(1, 255));
    return text;
}

WorkUnit WorkUnitFromName(const std::string& name)
{
    WorkUnit unit;
    unit.name = name;
    unit.seed = HashText(name);
    Rng rng(unit.seed);

    int day = 1, month = 1, year = 2000;
    if (name.size() >= 6) {
        day = std::atoi(name.substr(0, 2).c_str());
        const std::string code = name.substr(2, 2);
        for (int m = 0; m < 12; ++m)
            if (code == kMonthCodes[m])
                month = m + 1;
        const int yy = std::atoi(name.substr(4, 2).c_str());
        year = yy >= 98 ? 1900 + yy : 2000 + yy;
    }
    unit.recorded = UnixFromCivil(year, month, std::max(1, day)) + rng.Int(0, 86399);

    unit.startRa = rng.Range(0.0, 24.0);
    if (rng.Uniform() < 0.7)
        unit.startDec = kStripes[rng.Int(0, std::size(kStripes) - 1)] + 0.3 * rng.Bell();
    else
        unit.startDec = rng.Range(-30.0, 40.0);
    unit.startDec = Clamp(unit.startDec, -30.0, 40.0);

    // Mostly sidereal drift (about 0.42 degrees), some tracking and some fast slews, so every
    // branch of the operations table is met.
    const double kind = rng.Uniform();
    if (kind < 0.6)
        unit.angleRange = rng.Range(0.38, 0.45);
    else if (kind < 0.78)
        unit.angleRange = rng.Range(0.003, 0.2);
    else if (kind < 0.9)
        unit.angleRange = rng.Range(0.2, 1.12);
    else
        unit.angleRange = rng.Range(1.13, 6.5);

    unit.endRa = std::fmod(unit.startRa + unit.angleRange / 15.0 * rng.Range(0.3, 1.0), 24.0);
    unit.endDec = Clamp(unit.startDec + unit.angleRange * 0.2 * rng.Bell(), -30.0, 40.0);
    unit.subbandNumber = rng.Int(0, 255);
    unit.subbandBase = 1418750000.0 + unit.subbandNumber * 9765.625;
    return unit;
}

double CpuSecondsFor(const WorkUnit& unit, double mflops)
{
    Rng rng(unit.seed ^ 0x5DEECE66Dull);
    return OperationsPerWorkUnit(unit.angleRange) / (mflops * 1e6) * rng.Range(0.95, 1.08);
}

namespace
{

std::string Hex2(int value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02x", std::clamp(value, 0, 255));
    return text;
}

Spike MakeSpike(Rng& r, double strength)
{
    Spike s;
    s.power = 18.0 + strength * strength * 90.0 + r.Range(0.0, 4.0);
    s.score = s.power / 24.0;
    s.fftLen = 1 << r.Int(3, 17);
    s.fftInd = r.Int(0, s.fftLen - 1);
    s.bin = r.Int(0, 131071);
    s.chirpRate = r.Range(-50.0, 50.0);
    return s;
}

Gaussian MakeGaussian(Rng& r, double strength)
{
    Gaussian g;
    g.power = 0.6 + strength * 3.2 + r.Range(0.0, 0.3);
    g.sigma = r.Range(2.5, 9.0);
    g.fftInd = r.Int(12, 51);
    g.trueMean = r.Range(0.35, 1.1);
    g.chisq = r.Range(0.6, 1.6) + (1.0 - strength) * r.Range(2.0, 20.0);
    g.chirpRate = r.Range(-30.0, 30.0);
    g.fftLen = 16384;
    g.bin = r.Int(0, 16383);
    for (int j = 0; j < 64; ++j) {
        const double z = (j - g.fftInd) / g.sigma;
        const double v = g.trueMean + g.power * std::exp(-0.5 * z * z) + 0.15 * r.Bell();
        g.pot.push_back(std::max(0.02, v));
    }
    return g;
}

Pulse MakePulse(Rng& r, double strength)
{
    Pulse p;
    p.power = 1.2 + strength * 8.0 + r.Range(0.0, 0.5);
    p.score = strength * 1.3 + r.Range(0.1, 0.3);
    p.mean = r.Range(0.6, 1.4);
    p.period = r.Range(0.5, 120.0);
    p.fftLen = 1 << r.Int(5, 11);
    p.freqBin = r.Int(0, p.fftLen - 1);
    p.timeBin = r.Int(0, 200);
    p.chirpRate = r.Range(-40.0, 40.0);
    const int peak = r.Int(20, 490);
    const double width = r.Range(2.0, 8.0);
    const double top = 70.0 + strength * 170.0;
    const bool echo = r.Uniform() < 0.4;
    for (int j = 0; j < 512; ++j) {
        const double z = (j - peak) / width;
        double v = r.Range(35.0, 70.0) + (top - 50.0) * std::exp(-0.5 * z * z);
        if (echo) {
            const double z2 = (j - (peak + 256) % 512) / width;
            v += 0.45 * (top - 50.0) * std::exp(-0.5 * z2 * z2);
        }
        p.pot += Hex2(static_cast<int>(v));
    }
    return p;
}

Triplet MakeTriplet(Rng& r, double strength)
{
    Triplet t;
    t.power = 6.0 + strength * 30.0 + r.Range(0.0, 2.0);
    t.score = strength * 2.5 + r.Range(0.2, 0.5);
    t.mean = r.Range(0.8, 1.5);
    t.period = r.Range(0.2, 12.0);
    t.bperiod = t.period * r.Range(1.0, 4.0);
    t.chirpRate = r.Range(-40.0, 40.0);
    t.scale = r.Range(0.5, 4.0);
    t.fftLen = 1 << r.Int(3, 16);
    t.freqBin = r.Int(0, t.fftLen - 1);
    t.timeBin = r.Int(0, 255);
    const int gap = r.Int(30, 90);
    const int first = r.Int(5, 254 - 2 * gap);
    int marks[3];
    for (int k = 0; k < 3; ++k) {
        marks[k] = first + k * gap;
        t.tpotind[k][0] = marks[k];
        t.tpotind[k][1] = marks[k] * 4 + r.Int(0, 3);
    }
    const double top = 0x80 + strength * 0x70;
    for (int i = 0; i < 255; ++i) {
        const double roll = r.Uniform();
        const int count = roll < 0.9 ? 1 : roll < 0.97 ? 2 : 3;
        double height = r.Range(0x12, 0x34);
        for (int mark : marks)
            if (i == mark)
                height = top + r.Range(-12.0, 12.0);
        t.pot += Hex2(count) + Hex2(static_cast<int>(height));
    }
    return t;
}

// Seed and strength of the best candidate of one search after the fraction prog, or -1 strength
// when none has been found yet. Candidates improve at rising thresholds below 1.
double PickCandidate(const WorkUnit& unit, int search, double prog, std::uint64_t* seed)
{
    Rng r(unit.seed ^ (0xA5A5A5A55A5A5A5Aull * static_cast<std::uint64_t>(search + 1)));
    const int candidates = r.Int(3, 6);
    double threshold = search == 0 ? 0.0 : r.Range(0.005, 0.15);
    double strength = r.Range(0.1, 0.5);
    double picked = -1.0;
    for (int c = 0; c < candidates; ++c) {
        const std::uint64_t candidateSeed = r.Next();
        if (threshold <= prog) {
            picked = strength;
            *seed = candidateSeed;
        }
        threshold += r.Range(0.05, 0.4) * (1.0 - threshold);
        strength += r.Range(0.05, 0.3) * (1.0 - strength);
    }
    return picked;
}

} // namespace

Signals SignalsAt(const WorkUnit& unit, double prog)
{
    Signals s;
    std::uint64_t seed = 0;
    double strength = PickCandidate(unit, 0, prog, &seed);
    if (strength >= 0) {
        Rng r(seed);
        s.spike = MakeSpike(r, strength);
    }
    strength = PickCandidate(unit, 1, prog, &seed);
    if (strength >= 0) {
        Rng r(seed);
        s.gaussian = MakeGaussian(r, strength);
    }
    strength = PickCandidate(unit, 2, prog, &seed);
    if (strength >= 0) {
        Rng r(seed);
        s.pulse = MakePulse(r, strength);
    } else {
        s.pulse.pot.assign(1024, '0');
    }
    strength = PickCandidate(unit, 3, prog, &seed);
    if (strength >= 0) {
        Rng r(seed);
        s.triplet = MakeTriplet(r, strength);
    } else {
        for (int i = 0; i < 255; ++i)
            s.triplet.pot += "0100";
    }
    return s;
}

} // namespace demo
