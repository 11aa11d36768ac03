#pragma once

#include "apisentence.h"

#include <QByteArray>
#include <optional>

class ApiTransport;
struct ReplyDeadline;

// The RouterOS API wire format: every word is preceded by its length in a
// 1- to 4-byte prefix, every sentence ends with an empty word.

// No router sends a word or a reply anywhere near these sizes (the longest
// word the program itself sends is a script of about 2 KB; a print of tens of
// thousands of users stays far below the reply cap). A longer announced word or
// reply ends the reply as a closed stream would, and the stream is given up.
constexpr qsizetype MaxWordSize = 1024 * 1024;
constexpr qsizetype MaxReplySize = 32 * 1024 * 1024;

// Words of 0x10000000 bytes or more have no prefix.
constexpr qint64 MaxEncodableLength = 0x0FFFFFFF;

// The prefix bytes of a length, most significant first; nothing when the
// length cannot be encoded.
std::optional<QByteArray> encodeLength(qint64 length);

// Sends the prefix; an unencodable length is reported among the API
// diagnostics (base/diagnostics.h) and sends nothing.
void writeLength(ApiTransport &transport, qint64 length);
// Throws away what an earlier reply left unread, then sends the words and the
// empty word. A sentence without words, or with a word too long to encode, is
// not sent at all.
void writeSentence(ApiTransport &transport, const ApiSentence &sentence);
// The bytes of a sentence on the wire; nothing when it has no words or a word
// too long to encode.
std::optional<QByteArray> encodeSentence(const ApiSentence &sentence);
// Sends a fixed command alone ("/login", "/quit") without the drain.
void writeCommand(ApiTransport &transport, const QByteArray &command);

// The reads below keep the time limits (apitransport.h): a sentence, a word
// or a length that has not arrived in full within the time-out, and a reply
// that is not complete within the ceiling, are cut off by the end of the
// stream, as by a lost connection.

// 0 when the stream ended.
qint64 readLength(ApiTransport &transport);
// Nothing at the end of a sentence or of the stream. A word cut off by the end
// of the stream is dropped.
std::optional<QByteArray> readWord(ApiTransport &transport);
// The kind is given by the sentence's first word. After a "!trap" or "!fatal"
// the sentence that follows (the "!done" of a trap) is read and dropped; the
// two are a reply, with the ceiling from now. A sentence cut off by the end
// of the stream is returned without words.
ApiSentence readSentence(ApiTransport &transport);
// One sentence as it arrives, the "!done" that follows a trap included (for
// readers that match replies by tag themselves), within the time-out and the
// deadline. Without words when the stream ended.
ApiSentence readSingleSentence(ApiTransport &transport, const ReplyDeadline &deadline);
// Sentences up to and including the first "!done", "!trap" or "!fatal", or up
// to the end of the stream; each sentence has the time-out to itself, and all
// of them the ceiling from now.
ApiReply readReply(ApiTransport &transport);
