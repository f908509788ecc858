#pragma once
// How long the running process has existed, counted from its creation by the kernel (so the
// program's loading and library binding are included).
namespace lodgeview {

// Milliseconds since the process was created; -1 when the kernel's figures cannot be read.
long ProcessAgeMs();

} // namespace lodgeview
