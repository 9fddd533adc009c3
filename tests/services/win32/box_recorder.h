// Message boxes that the library under test shows on the test's thread, recorded as "caption|text" (the texts of
// their static controls) and closed with OK as soon as they are up, so that a test can say which boxes came.
#pragma once

#include <string>
#include <vector>

namespace osk::test {

// Starts recording on the calling thread, only boxes with this caption when one is given; false when the hook
// cannot be set. Each box is recorded once however often it is activated.
bool startRecordingBoxes(const char* caption = nullptr);
void stopRecordingBoxes();
// The boxes recorded so far, oldest first; the test may clear them.
std::vector<std::string>& recordedBoxes();

}  // namespace osk::test
