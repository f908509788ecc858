#pragma once
// Every request the server answered, in the order it answered them, so that a test can assert
// what a terminal sent. Kept in memory (the newest 100000) and, when a file is given, appended
// to it as JSON lines, one line per request, written at once:
//
//   {"seq":3,"time":"2024-06-11T21:04:05.123","remote":"127.0.0.1","path":"/ZUVU_SCS/pcs.do",
//    "target":"/ZUVU_SCS/pcs.do?CMD=IF-SCS-14&V=01&C=20&PDU=...","cmd":"IF-SCS-14",
//    "record":"TP_VIEW^20|NO_ROOM^100|...","status":200,"faults":["delay"]}
//
// cmd is the CMD parameter ("" when absent); record is present for service commands only: the
// deciphered PDU in UTF-8, or the PARAM of the media-control notices ("" when unreadable).
// Safe to use from the HTTP worker threads at once.
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lodgeview::devserver {

struct LogEntry {
    long seq = 0;     // from 1, set by the log
    std::string time; // local time with milliseconds, set by the log
    std::string remote;
    std::string path;
    std::string target;
    std::string command;
    std::optional<std::string> record;
    int status = 0;
    std::vector<std::string> faults;
};

class RequestLog {
public:
    // Appends to `file` when it is not empty; throws std::runtime_error when it cannot be opened.
    explicit RequestLog(const std::string& file = "");
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    void Add(LogEntry entry);
    // Entries with a seq above `after`, oldest first.
    std::vector<LogEntry> Entries(long after = 0) const;
    void Clear();

    static std::string Json(const LogEntry& entry);

private:
    mutable std::mutex mutex_;
    std::deque<LogEntry> entries_;
    long lastSeq_ = 0;
    std::FILE* file_ = nullptr;
};

// A JSON string; bytes that are not UTF-8 are taken as Latin-1 characters. "<", ">" and "&" are
// escaped too, so the string can stand inside a page's script element.
std::string JsonString(const std::string& text);

} // namespace lodgeview::devserver
