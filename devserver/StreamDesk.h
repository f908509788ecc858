#pragma once
// The clip streams /media/<clip>?...: the whole clip, or from "&POS=" (a fraction of the
// duration, as the player writes it, "4.5E-6" included) on. A stream that names its terminal
// (the player's "&MAC=", else the ID_MAC the server put into the address) starts that
// terminal's position for IF-VLC-30.
#include "devserver/Reply.h"
#include "devserver/Terminals.h"
#include "devserver/TsClip.h"

#include <string>

namespace lodgeview::devserver {

class StreamDesk {
public:
    StreamDesk(const ClipShelf& clips, PlayTracker& tracker) : clips_(clips), tracker_(tracker) {}

    // 404 for a clip the catalogue does not use, 400 for a POS that is not a number >= 0;
    // a POS above 1 counts as 1 (the end: an empty stream).
    Reply Open(const std::string& clip, const Query& query, PlayTracker::Clock::time_point now);

private:
    const ClipShelf& clips_;
    PlayTracker& tracker_;
};

} // namespace lodgeview::devserver
