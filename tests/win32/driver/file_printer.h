// A PostScript printer on the port "FILE:" in the test prefix, for driving the program's printing: the generic PPD
// that Wine's winspool carries, the "Wine PostScript Driver", made the default printer. Jobs on it ask for the
// output file. Installing it again is harmless.
#pragma once

#include <chrono>
#include <string>

#include "osk_driver.h"

namespace osk::drive {

inline constexpr char kFilePrinter[] = "OSK Test PostScript";

bool installFilePrinter();

// Answers the program's print dialog with OK and then the output file's dialog with `output`; false when either
// did not come.
bool answerPrintDialogs(const Program& program, const std::string& output);
// Waits until the PostScript file is complete and the program takes input again with no dialog open.
bool waitForPrintedFile(const Program& program, const std::string& output, std::chrono::milliseconds timeout);

// The 240 lines of C (CR LF) that the printing tests print: every third line has a comment, every line a number,
// so that one text check reads back every job made of it.
std::string printSample();
// The pages of a PostScript file, by its page comments; 0 when the file cannot be read.
size_t pagesIn(const std::string& postscriptFile);

}  // namespace osk::drive
