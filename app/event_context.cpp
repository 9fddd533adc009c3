#include "app/event_context.h"

namespace osk::app {

int32_t keyEventContext(const KeyEventTarget& t) {
  if (t.previewOpen) return kContextPreview;
  switch (t.window) {
    case EventWindow::Editor:
      return t.editorHasMark ? kContextEditorWithMark : kContextEditor;
    case EventWindow::OpenBar:
      return kContextOpenBar;
    case EventWindow::Other:
      break;
  }
  return kContextNone;
}

int32_t mouseEventContext(const MouseEventTarget& t) {
  if (!t.isEditor) return t.servicesContext > 0 ? t.servicesContext : kContextNone;
  if (!t.positionFound) return kContextMouseNoText;
  if (t.where == 2) return kContextMouseMargin;
  if (t.where == 1) return kContextMouseInMark;
  return kContextMouseText;
}

}  // namespace osk::app
