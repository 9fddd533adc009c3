#include "app/event_context.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

TEST(KeyEventContext, PreviewFirstThenTheWindow) {
  EXPECT_EQ(keyEventContext({.previewOpen = true, .window = EventWindow::Editor, .editorHasMark = true}), 26);
  EXPECT_EQ(keyEventContext({.previewOpen = true, .window = EventWindow::Other}), 26);
  EXPECT_EQ(keyEventContext({.window = EventWindow::Editor, .editorHasMark = true}), 12);
  EXPECT_EQ(keyEventContext({.window = EventWindow::Editor}), 10);
  EXPECT_EQ(keyEventContext({.window = EventWindow::OpenBar, .editorHasMark = true}), 11);
  EXPECT_EQ(keyEventContext({}), 0);
}

TEST(MouseEventContext, FromThePositionTestOrTheServices) {
  EXPECT_EQ(mouseEventContext({.isEditor = true, .positionFound = false, .where = 1}), 20);
  EXPECT_EQ(mouseEventContext({.isEditor = true, .positionFound = true, .where = 2}), 23);
  EXPECT_EQ(mouseEventContext({.isEditor = true, .positionFound = true, .where = 1}), 22);
  EXPECT_EQ(mouseEventContext({.isEditor = true, .positionFound = true, .where = 0}), 24);
  EXPECT_EQ(mouseEventContext({.isEditor = true, .positionFound = true, .servicesContext = 25}), 24);
  EXPECT_EQ(mouseEventContext({.servicesContext = 25}), 25);
  EXPECT_EQ(mouseEventContext({}), 0);
  EXPECT_EQ(mouseEventContext({.servicesContext = -3}), 0);
}

}  // namespace
}  // namespace osk::app
