#pragma once
// Fault switches: ways for a test to make the server fail as a real one can. Each is set from
// the command line ("name[,key=value...]") or the control endpoint (the same keys as query
// parameters) and stays until cleared or until it has served `count` requests.
//
//   refuse         the listening socket closes for ms (default 3000): connections are refused
//   delay          replies wait ms (default 2000) before they are sent
//   http-error     replies are an HTTP error with status (default 500)
//   broken-base64  enciphered replies are cut so that they decode to no whole cipher block
//   broken-xml     XML replies lose their last end tag
//   no-success     XML replies are a RESULT with MESSAGE other than "SUCCESS" and CODE code
//                  (default E900)
//   no-length      replies go out without Content-Length, ended by closing the connection
//   cut-short      the connection closes after half of the announced Content-Length
//
// Every switch but refuse takes match: a command code (the CMD parameter, e.g. IF-SCS-14 or
// IF-ADV-01) or a path prefix starting with "/"; without it every request is affected (the
// control endpoints never are). count limits a switch to that many requests.
#include "devserver/Reply.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace lodgeview::devserver {

enum class FaultKind { Refuse, Delay, HttpError, BrokenBase64, BrokenXml, NoSuccess, NoLength, CutShort };

struct Fault {
    FaultKind kind = FaultKind::Delay;
    std::chrono::milliseconds duration{0}; // refuse, delay
    int status = 500;                      // http-error
    std::string code = "E900";             // no-success
    std::string match;                     // "" for every request
    int count = -1;                        // requests left; -1 until cleared
};

const char* FaultName(FaultKind kind);
// Throws std::invalid_argument for an unknown name, a key the switch does not take or a bad value.
Fault MakeFault(const std::string& name, const std::map<std::string, std::string>& settings);
// "name[,key=value...]", the command-line form.
Fault ParseFault(const std::string& text);
std::string FaultJson(const Fault& fault);

// The switches that act on requests (all but refuse, which the server's owner carries out).
// Safe to use from the HTTP worker threads at once.
class FaultSwitch {
public:
    // Replaces a switch of the same kind.
    void Set(const Fault& fault);
    void Clear();
    std::vector<Fault> Active() const;
    // The switches that apply to a request with this command (CMD) and path; each uses up one
    // of its count.
    std::vector<Fault> Take(const std::string& command, const std::string& path);

private:
    mutable std::mutex mutex_;
    std::vector<Fault> faults_;
};

bool HasFault(const std::vector<Fault>& faults, FaultKind kind);

// What goes out: status, type and the bytes from offset on.
struct WireReply {
    int status = 200;
    std::string contentType;
    std::shared_ptr<const std::string> bytes;
    std::size_t offset = 0;
};

// Encodes the reply for the wire (enciphers service documents, converts CP949 ones) after the
// switches that change content: http-error, no-success and broken-xml, then broken-base64.
// Throws CodePageError for a CP949 document with a character the code page lacks.
WireReply ToWire(Reply reply, const std::vector<Fault>& faults);

} // namespace lodgeview::devserver
