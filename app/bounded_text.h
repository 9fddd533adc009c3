// Texts copied into fixed buffers and messages filled in, never longer than their room.
//
// copyBounded always leaves a terminated string in a buffer of at least one byte and never writes past it; a
// buffer of no bytes receives nothing. fillMessage puts a text where a message says "%s" (the first one only)
// without reading anything else of the message as a format, then cuts the result to its room.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace osk::app {

inline constexpr std::size_t kMaxSearchText = 256;   // what the search dialogs and the Find commands hold
inline constexpr std::size_t kMaxHistoryText = 276;  // what the history store may hand back
inline constexpr std::size_t kMaxStatusText = 1024;  // a status message

// Copies as much of `source` as fits with its terminating zero; returns the characters copied.
std::size_t copyBounded(std::span<char> destination, std::string_view source);

// The search text to use from the top of the search history, cut to what a search can hold.
std::string searchTextFromHistory(std::string_view top);

// `message` with its first "%s" replaced by `argument` ("%%" stands for "%"), at most `maxChars` characters.
std::string fillMessage(std::string_view message, std::string_view argument, std::size_t maxChars);

}  // namespace osk::app
