// Text forms of the client files and of the logging program's SETILog.csv records.
#include "demo_data.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace demo
{

namespace
{

// Builds key=value lines with the location's line end.
class Lines
{
public:
    explicit Lines(LineEnd lineEnd) : end_(lineEnd == LineEnd::kCrLf ? "\r\n" : "\n") {}

    __attribute__((format(printf, 2, 3))) void Add(const char* format, ...)
    {
        char line[2048];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        text_ += line;
        text_ += end_;
    }
    void AddRaw(const std::string& line) { text_ += line + end_; }
    const std::string& Text() const { return text_; }

private:
    std::string end_;
    std::string text_;
};

std::string Number(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string GaussianPotWords(const Gaussian& g, const char* separator)
{
    std::string words;
    for (std::size_t j = 0; j < g.pot.size(); ++j) {
        if (j)
            words += separator;
        words += Number("%.4f", g.pot[j]);
    }
    return words;
}

// The data after the header: printable and free of '=' and '_', so no key can appear in it.
std::string DataBlock(const WorkUnit& unit, LineEnd lineEnd)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Rng rng(unit.seed ^ 0xDA7Aull);
    std::string block;
    for (int line = 0; line < 512; ++line) {
        for (int i = 0; i < 64; ++i)
            block += kAlphabet[rng.Next() & 63];
        block += lineEnd == LineEnd::kCrLf ? "\r\n" : "\n";
    }
    return block;
}

std::string QuoteCsv(const std::string& field)
{
    if (field.find_first_of(",\"") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// Column order of the log; the reader finds every value by its column name.
const char* const kLogColumns[] = {
    "date",      "name",          "cpu",           "prog",          "bs_power",      "bs_score", "bg_power",
    "bg_chisq",  "bg_score",      "bg_true_mean",  "bg_sigma",      "bg_fft_ind",    "bg_pot",   "bp_power",
    "bp_score",  "bp_mean",       "bp_period",     "bp_fft_len",    "bp_pot",        "bt_power", "bt_score",
    "bt_mean",   "bt_period",     "bt_tpotind0_0", "bt_tpotind1_0", "bt_tpotind2_0", "bt_pot",   "start_ra",
    "start_dec", "time_recorded", "subband_base",  "angle_range",   "host",          "version"};

} // namespace

std::string StateSahText(const WorkUnit& unit, double prog, double cpuSeconds)
{
    const Signals s = SignalsAt(unit, prog);
    Rng rng(unit.seed ^ 0x57A7Eull);
    Lines out(LineEnd::kLf);
    out.Add("ncfft=%d", static_cast<int>(prog * 8192) + 1);
    out.Add("cr=%e", rng.Range(-50.0, 50.0));
    out.Add("fl=%d", 1 << rng.Int(3, 17));
    out.Add("cpu=%f", cpuSeconds);
    out.Add("prog=%.8f", prog);
    out.Add("potfreq=%d", -1);
    out.Add("potactivity=%d", 0);
    out.Add("outfilepos=%d", static_cast<int>(prog * 2000));

    out.Add("bs_power=%f", s.spike.power);
    out.Add("bs_score=%f", s.spike.score);
    out.Add("bs_bin=%d", s.spike.bin);
    out.Add("bs_fft_ind=%d", s.spike.fftInd);
    out.Add("bs_chirp_rate=%f", s.spike.chirpRate);
    out.Add("bs_fft_len=%d", s.spike.fftLen);

    const Gaussian& g = s.gaussian;
    out.Add("bg_score=%f", g.chisq > 0 ? g.power / g.chisq : 0.0);
    out.Add("bg_power=%f", g.power);
    out.Add("bg_chisq=%f", g.chisq);
    out.Add("bg_bin=%d", g.bin);
    out.Add("bg_fft_ind=%d", g.fftInd);
    out.Add("bg_chirp_rate=%f", g.chirpRate);
    out.Add("bg_fft_len=%d", g.fftLen);
    out.Add("bg_true_mean=%f", g.trueMean);
    out.Add("bg_sigma=%f", g.sigma);
    for (int j = 0; j < 64; ++j)
        out.Add("bg_pot %d=%.4f", j, j < static_cast<int>(g.pot.size()) ? g.pot[j] : 0.0);

    const Pulse& p = s.pulse;
    out.Add("bp_score=%f", p.score);
    out.Add("bp_power=%f", p.power);
    out.Add("bp_mean=%f", p.mean);
    out.Add("bp_period=%f", p.period);
    out.Add("bp_freq_bin=%d", p.freqBin);
    out.Add("bp_time_bin=%d", p.timeBin);
    out.Add("bp_chirp_rate=%f", p.chirpRate);
    out.Add("bp_fft_len=%d", p.fftLen);
    out.AddRaw("bp_pot=" + p.pot);

    const Triplet& t = s.triplet;
    out.Add("bt_score=%f", t.score);
    out.Add("bt_power=%f", t.power);
    out.Add("bt_mean=%f", t.mean);
    out.Add("bt_period=%f", t.period);
    out.Add("bt_bperiod=%f", t.bperiod);
    for (int k = 0; k < 3; ++k) {
        out.Add("bt_tpotind%d_0=%d", k, t.tpotind[k][0]);
        out.Add("bt_tpotind%d_1=%d", k, t.tpotind[k][1]);
    }
    out.Add("bt_freq_bin=%d", t.freqBin);
    out.Add("bt_time_bin=%d", t.timeBin);
    out.Add("bt_chirp_rate=%f", t.chirpRate);
    out.Add("bt_scale=%f", t.scale);
    out.Add("bt_fft_len=%d", t.fftLen);
    out.AddRaw("bt_pot=" + t.pot);
    return out.Text();
}

std::string WorkUnitSahText(const WorkUnit& unit, LineEnd lineEnd)
{
    Lines out(lineEnd);
    out.AddRaw("type=seti_workunit");
    out.AddRaw("task=seti");
    out.AddRaw("version=3.03");
    out.AddRaw("name=" + unit.name);
    out.AddRaw("data_type=encoded");
    out.AddRaw("data_class=0");
    out.AddRaw("splitter_version=0.30");
    out.Add("start_ra=%.6f", unit.startRa);
    out.Add("start_dec=%.6f", unit.startDec);
    out.Add("end_ra=%.6f", unit.endRa);
    out.Add("end_dec=%.6f", unit.endDec);
    out.Add("angle_range=%.6f", unit.angleRange);
    out.AddRaw("time_recorded=" + ClientDate(unit.recorded));
    out.Add("subband_center=%.15g", unit.subbandBase + 4882.8125);
    out.Add("subband_base=%.15g", unit.subbandBase);
    out.AddRaw("subband_sample_rate=9765.625");
    out.AddRaw("fft_len=2048");
    out.AddRaw("ifft_len=8");
    out.Add("subband_number=%d", unit.subbandNumber);
    out.AddRaw("receiver=ao1420");
    out.AddRaw("nsamples=1048576");
    out.AddRaw("tape_version=0.0");
    // The telescope's pointing along the recording, as the splitter lists it.
    const int positions = 12;
    out.Add("num_positions=%d", positions);
    for (int i = 0; i < positions; ++i) {
        const double f = i / static_cast<double>(positions - 1);
        out.Add("coord%d=%.5f %.4f %.4f", i, (unit.recorded + f * 107.0) / 86400.0 + 2440587.5,
                unit.startRa + (unit.endRa - unit.startRa) * f, unit.startDec + (unit.endDec - unit.startDec) * f);
    }
    out.AddRaw("end_seti_header");
    return out.Text() + DataBlock(unit, lineEnd);
}

std::string UserInfoText(const UserInfo& user, LineEnd lineEnd)
{
    Lines out(lineEnd);
    out.Add("id=%lld", static_cast<long long>(user.id));
    out.Add("key=%llx", static_cast<unsigned long long>(HashText(user.name) & 0xffffffffffull));
    out.AddRaw("email_addr=" + user.email);
    out.AddRaw("name=" + user.name);
    out.AddRaw("url=");
    out.AddRaw("country=" + user.country);
    out.AddRaw("postal_code=");
    out.AddRaw("show_name=yes");
    out.AddRaw("show_email=no");
    out.AddRaw("venue=home");
    out.AddRaw("register_time=" + ClientDate(user.registered));
    out.AddRaw("last_wu_time=" + ClientDate(user.lastResult - 3 * 3600));
    out.AddRaw("last_result_time=" + ClientDate(user.lastResult));
    out.Add("nwus=%ld", user.results + 1);
    out.Add("nresults=%ld", user.results);
    out.Add("total_cpu=%.6f", user.totalCpu);
    out.AddRaw("params_index=0");
    return out.Text();
}

std::string ResultSahText(const WorkUnit& unit, double cpuSeconds)
{
    const Signals s = SignalsAt(unit, 1.0);
    Lines out(LineEnd::kLf);
    out.AddRaw("operation=send_result_get_user_stats");
    out.AddRaw("name=" + unit.name);
    out.Add("cpu_time=%f", cpuSeconds);
    out.Add("best_spike=%f", s.spike.power);
    out.Add("best_gaussian=%f", s.gaussian.power);
    out.Add("best_pulse=%f", s.pulse.power);
    out.Add("best_triplet=%f", s.triplet.power);
    out.AddRaw("end_result");
    return out.Text();
}

std::string LogHeaderLine(const LogStyle& style)
{
    std::string line;
    for (const char* column : kLogColumns) {
        if (!line.empty())
            line += ',';
        for (const char* c = column; *c; ++c)
            line += style.headerCase == HeaderCase::kUpper && *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 32) : *c;
    }
    return line + (style.lineEnd == LineEnd::kCrLf ? "\r\n" : "\n");
}

std::string LogRecordLine(const LogStyle& style, const WorkUnit& unit, double cpuSeconds, std::int64_t logged)
{
    const Signals s = SignalsAt(unit, 1.0);
    const Gaussian& g = s.gaussian;
    const Triplet& t = s.triplet;
    const std::string fields[] = {LogDate(logged),
                                  unit.name,
                                  Number("%.2f", cpuSeconds),
                                  "1.000000",
                                  Number("%f", s.spike.power),
                                  Number("%f", s.spike.score),
                                  Number("%f", g.power),
                                  Number("%f", g.chisq),
                                  Number("%f", g.chisq > 0 ? g.power / g.chisq : 0.0),
                                  Number("%f", g.trueMean),
                                  Number("%f", g.sigma),
                                  std::to_string(g.fftInd),
                                  GaussianPotWords(g, " "),
                                  Number("%f", s.pulse.power),
                                  Number("%f", s.pulse.score),
                                  Number("%f", s.pulse.mean),
                                  Number("%f", s.pulse.period),
                                  std::to_string(s.pulse.fftLen),
                                  s.pulse.pot,
                                  Number("%f", t.power),
                                  Number("%f", t.score),
                                  Number("%f", t.mean),
                                  Number("%f", t.period),
                                  std::to_string(t.tpotind[0][0]),
                                  std::to_string(t.tpotind[1][0]),
                                  std::to_string(t.tpotind[2][0]),
                                  t.pot,
                                  Number("%.6f", unit.startRa),
                                  Number("%.6f", unit.startDec),
                                  ClientDate(unit.recorded),
                                  Number("%.15g", unit.subbandBase),
                                  Number("%.6f", unit.angleRange),
                                  style.host,
                                  "1.4"};
    static_assert(std::size(fields) == std::size(kLogColumns));
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty())
            line += ',';
        line += QuoteCsv(field);
    }
    return line + (style.lineEnd == LineEnd::kCrLf ? "\r\n" : "\n");
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::path temp = path;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

bool AppendToFile(const std::filesystem::path& path, const std::string& text)
{
    // One write of the whole line, so a reader sees the record whole or not at all in practice.
    std::FILE* file = std::fopen(path.string().c_str(), "ab");
    if (!file)
        return false;
    std::setvbuf(file, nullptr, _IOFBF, text.size() + 1);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

} // namespace demo
