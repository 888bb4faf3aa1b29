#pragma once
// The conversation between the port monitor (host) and Korrim.exe (client) over
// the named pipe "\\.\pipe\Caskel":
//
//   host -> client   nine requests (FaxRequests, in declaration order)
//   client -> host   answer A, the dialog result: "1" Send, "2" Cancel
//   client -> host   answers B to H, only after "1" (FaxAnswers)
//   host -> client   one confirmation text, only when request 9 was exactly "1"
//                    and answer A was "1"
//
// Every value is text, UTF-16LE on the wire with no length prefix and no
// terminator; numbers are decimal. An empty text never travels as zero bytes but
// as one space (U+0020), so the peer receives " " for every empty field. A reader
// takes one read of at most 16384 bytes and stops at the first zero unit.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/message_channel.h"

namespace tolvane {

inline constexpr std::u16string_view kConversationPipePath = u"\\\\.\\pipe\\Caskel";

// One read takes at most this many bytes (8192 UTF-16 code units).
inline constexpr std::size_t kPipeReadBytes = 16384;
// Longest text either side sends or keeps: the 8192-unit buffers hold a
// terminator too. Longer texts are cut to this length.
inline constexpr std::size_t kMaxMessageUnits = 8191;

// The fixed failure texts of both roles (plain message boxes, no owner).
inline constexpr std::u16string_view kPipeAlertCaption = u"host";
inline constexpr std::u16string_view kWritePipeFailedText = u"Write pipe failed";
inline constexpr std::u16string_view kReadPipeFailedText = u"Main Process reads pipe failed";
inline constexpr std::u16string_view kLaunchAlertCaption = u"MainProcess";
inline constexpr std::u16string_view kCannotLoadDllText = u"Can not load dll";
inline constexpr std::u16string_view kJobConfirmCaption = u"Job Confirm";

// The notice: a second, shorter conversation on the same pipe, for a fax that
// did not leave when the form's own conversation is over (or never began).
// The host starts Korrim.exe with this argument and writes one text; Korrim.exe
// reads it, closes its end and shows it in a box with this caption. A
// Korrim.exe that knows the notice says so with this word in the "Roles"
// entry of its version resource, so the host never starts an older one,
// which would take the text for the first request, this way.
inline constexpr std::u16string_view kNoticeArgument = u"/notice";
inline constexpr std::u16string_view kNoticeCaption = u"Fax not sent";
inline constexpr std::u16string_view kNoticeRole = u"notice";

// Answer A values.
inline constexpr std::u16string_view kResultSend = u"1";
inline constexpr std::u16string_view kResultCancel = u"2";

// Request 9 asks for a confirmation only when it is exactly this text.
inline constexpr std::u16string_view kConfirmationWanted = u"1";

// Shows a failure text with its caption (a message box in the product).
using AlertSink = std::function<void(std::u16string_view text, std::u16string_view caption)>;

// The bytes of one message: UTF-16LE of at most kMaxMessageUnits units of the
// text, or the single space when the text is empty.
std::vector<std::uint8_t> EncodeMessage(std::u16string_view text);

// The text of one received message: the UTF-16LE units up to the first zero
// unit, the end of the data or kMaxMessageUnits, whichever comes first. A
// trailing odd byte is ignored.
std::u16string DecodeMessage(std::span<const std::uint8_t> bytes);

// A channel end speaking texts, which reports each failure through the alert
// sink with the conversation's fixed texts.
class ConversationPeer {
public:
    ConversationPeer(MessageChannel& channel, AlertSink alerts);

    // Sends one text; on failure shows "Write pipe failed" / "host".
    bool Write(std::u16string_view text);
    // Takes one text; on failure shows "Main Process reads pipe failed" /
    // "host" and leaves `text` unchanged.
    bool Read(std::u16string& text);

    void Alert(std::u16string_view text, std::u16string_view caption) const;

private:
    MessageChannel& channel_;
    AlertSink alerts_;
};

// The nine requests, in the order they travel.
struct FaxRequests {
    std::u16string addressBookType;    // 1: 0 two text files, 1 CSV file, other none
    std::u16string addressBookFolder;  // 2
    std::u16string documentName;       // 3
    std::u16string line;               // 4: item index of the line list
    std::u16string sender;             // 5
    std::u16string resolution;         // 6: item index
    std::u16string priority;           // 7: item index
    std::u16string notifyEmail;        // 8
    std::u16string confirmation;       // 9: "1" asks for a confirmation

    static constexpr std::size_t kCount = 9;
    std::array<std::u16string*, kCount> InOrder();
    std::array<const std::u16string*, kCount> InOrder() const;
};

// Answer A and, after Send, answers B to H.
struct FaxAnswers {
    std::u16string result;         // A: "1" Send, "2" Cancel
    std::u16string faxNumbers;     // B: as entered, entries separated by ";"
    std::u16string recipientName;  // C: "." when the address-book box was untouched
    std::u16string line;           // D: item index, "-1" when none
    std::u16string sender;         // E
    std::u16string resolution;     // F: item index
    std::u16string priority;       // G: item index
    std::u16string notifyEmail;    // H

    bool IsSend() const { return result == kResultSend; }
    static constexpr std::size_t kDetailCount = 7;
    std::array<std::u16string*, kDetailCount> DetailsInOrder();
    std::array<const std::u16string*, kDetailCount> DetailsInOrder() const;
};

// Host side. Each writes every message even after a failed one (each failure
// is shown) and returns true only when all writes succeeded.
bool SendRequests(ConversationPeer& peer, const FaxRequests& requests);

// Host side: reads answer A and, when it is "1" (any case), answers B to H. A
// failed read is shown and counts as an empty answer. Returns true when every
// read succeeded.
bool ReceiveAnswers(ConversationPeer& peer, FaxAnswers& answers);

// Host side: the confirmation text, to be sent only when the requests asked
// for one and the answer was Send.
bool SendConfirmation(ConversationPeer& peer, std::u16string_view text);

// Client side: the answers as they travel, A always, B to H only after Send.
bool SendAnswers(ConversationPeer& peer, const FaxAnswers& answers);

}  // namespace tolvane
