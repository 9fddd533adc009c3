// Global text blocks: zero-terminated text with CR LF line ends, in the form the clipboard takes, built by
// appending lines and read back line by line.
//
// A block handle is opaque: on the portable core it is the address of a heap block made here (size word and text);
// the Windows layer installs movable global memory through SetGlobalMemory, so that its handles are real HGLOBALs
// that go to the clipboard unchanged. The caller owns every block and frees it with ReleaseGlobalText (or with the
// memory's own free function, or by handing it to the clipboard).
// One block is "current" for appending (its text length is remembered) and one is being read (with a read
// position); both are process-wide, as the callers expect. Readers and writers never go past a block's size, even
// when its text lacks a terminating zero; a remembered length is checked against the block before it is trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace osk {

using GlobalTextHandle = void*;

// The allocator behind the blocks. Handles stay valid across lock/unlock; reallocate may return a new handle, and
// when it fails returns null with the old block intact.
struct GlobalMemory {
  GlobalTextHandle (*allocate)(size_t bytes);
  GlobalTextHandle (*reallocate)(GlobalTextHandle block, size_t bytes);
  void (*release)(GlobalTextHandle block);
  size_t (*size)(GlobalTextHandle block);
  char* (*lock)(GlobalTextHandle block);
  void (*unlock)(GlobalTextHandle block);
};

// Replaces the allocator (null: the portable heap default). Forgets the current and the reading block.
void SetGlobalMemory(const GlobalMemory* memory);

// How AddGlobalLine appends.
enum GlobalLineMode : int32_t {
  kGlobalLineNone = 0,       // nothing happens; the handle comes back as it was
  kGlobalLineWithEnd = 1,    // the text and CR LF
  // any other value: the text alone
};

// Results of reading a line.
enum GlobalLineResult : int32_t {
  kGlobalTextDone = 0,       // no text left (or no block being read)
  kGlobalLineEnded = 1,      // a line that ended with a line end, or a 1024-character piece of a longer one
  kGlobalLineLast = 2,       // the last line, without a line end
};

// Appends `text` (null: nothing) to `block` (null: a new empty block) and returns the block's handle, which may have
// changed; returns null when memory runs out, after freeing the block.
GlobalTextHandle AddGlobalText(GlobalTextHandle block, const char* text, int32_t mode);

// Starts reading `block` from its beginning and reads its first line into `out` (1025 bytes; null: skip the line).
int32_t FirstGlobalLine(GlobalTextHandle block, char* out);
// Reads the next line of the block being read.
int32_t NextGlobalLine(char* out);

// A new block of the same size holding the same text, always zero-terminated (a text without a zero is cut one byte
// before the end); null for a null handle or when memory runs out.
GlobalTextHandle CopyGlobalText(GlobalTextHandle block);

// Frees a block and forgets it as the current or the reading block.
void ReleaseGlobalText(GlobalTextHandle block);
// The block's size in bytes (at least its text and zero); 0 for a null handle.
size_t GlobalTextSize(GlobalTextHandle block);
// A copy of the block's text, up to its zero or its size.
std::string GlobalTextContents(GlobalTextHandle block);

}  // namespace osk
