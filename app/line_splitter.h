// The lines of a file read in pieces that the line store can hold, as PasteFromFile inserts them.
//
// Line ends read are CR LF, LF or a lone CR; a line longer than 1023 characters is cut into pieces of 1023. A NUL
// byte is kept as it is. Text after the last line end is a last line of its own; an empty file gives no line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace osk::app {

inline constexpr std::size_t kLinePieceSize = 1023;

class LineSplitter {
 public:
  using LineSink = std::function<bool(std::string_view line)>;   // false stops the reading
  explicit LineSplitter(LineSink sink) : sink_(std::move(sink)) {}
  // False once the sink has asked to stop.
  bool feed(std::string_view bytes);
  bool finish();

 private:
  bool emit();
  LineSink sink_;
  std::string pending_;
  bool afterCr_ = false;
  bool stopped_ = false;
  bool anyBytesSinceLine_ = false;
};

}  // namespace osk::app
