#include "devserver/RequestLog.h"

#include "platform/CodePage.h"

#include <chrono>
#include <ctime>
#include <stdexcept>

namespace lodgeview::devserver {
namespace {

constexpr std::size_t kKeptEntries = 100000;

std::string LocalTimeNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const long ms = long(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03ld", ms);
    return text;
}

} // namespace

std::string JsonString(const std::string& text)
{
    const bool utf8 = IsValidUtf8(text);
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || c == '<' || c == '>' || c == '&' || (u >= 0x80 && !utf8)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(u));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

RequestLog::RequestLog(const std::string& file)
{
    if (file.empty())
        return;
    file_ = std::fopen(file.c_str(), "a");
    if (!file_)
        throw std::runtime_error("cannot open the request log " + file);
}

RequestLog::~RequestLog()
{
    if (file_)
        std::fclose(file_);
}

void RequestLog::Add(LogEntry entry)
{
    std::lock_guard<std::mutex> lock(mutex_);
    entry.seq = ++lastSeq_;
    entry.time = LocalTimeNow();
    if (file_) {
        const std::string line = Json(entry) + "\n";
        std::fwrite(line.data(), 1, line.size(), file_);
        std::fflush(file_);
    }
    entries_.push_back(std::move(entry));
    if (entries_.size() > kKeptEntries)
        entries_.pop_front();
}

std::vector<LogEntry> RequestLog::Entries(long after) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<LogEntry> entries;
    for (const LogEntry& entry : entries_) {
        if (entry.seq > after)
            entries.push_back(entry);
    }
    return entries;
}

void RequestLog::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

std::string RequestLog::Json(const LogEntry& entry)
{
    std::string json = "{\"seq\":" + std::to_string(entry.seq) + ",\"time\":" + JsonString(entry.time) +
                       ",\"remote\":" + JsonString(entry.remote) + ",\"path\":" + JsonString(entry.path) +
                       ",\"target\":" + JsonString(entry.target) + ",\"cmd\":" + JsonString(entry.command);
    if (entry.record)
        json += ",\"record\":" + JsonString(*entry.record);
    json += ",\"status\":" + std::to_string(entry.status) + ",\"faults\":[";
    for (std::size_t i = 0; i < entry.faults.size(); ++i)
        json += (i ? "," : "") + JsonString(entry.faults[i]);
    return json + "]}";
}

} // namespace lodgeview::devserver
