// The ECD_ entry points that need no window: version, initialisation, buffers, chaining and system options.
#include <cstring>
#include <memory>

#include "engine/buffer.h"
#include "engine/buffer_messages.h"
#include "engine/current_target.h"
#include "engine/ecd_api.h"
#include "engine/engine_context.h"
#include "engine/lang/syntax_file.h"

using osk::Buffer;
using osk::Engine;

extern "C" {

int32_t OSK_CALL ECD_fbCheckVersion(const char* handshake) {
  return handshake != nullptr && std::strcmp(handshake, ECD_HANDSHAKE) == 0 ? 1 : 0;
}

char* OSK_CALL ECD_fvGetPatchVersion(char* destination) {
  // This release has no patch level: nothing is appended.
  return destination;
}

int32_t OSK_CALL ECD_flInitialise(OskWindow owner, EcdEventProc event, EcdGaugeStartProc gaugeStart,
                                  EcdGaugeStepProc gaugeStep, EcdGaugeEndProc gaugeEnd) {
  Engine& e = Engine::instance();
  if (e.initialised) return ECD_ERR_ALREADY_INITIALISED;
  e.initialised = true;
  e.eventCallback = event;
  e.owner = nullptr;
  e.currentWindow = nullptr;
  e.currentRecord = nullptr;
  e.currentBuffer = nullptr;
  e.windowTarget = false;
  if (e.platformInitialise) e.platformInitialise();
  osk::installSearchTarget();
  osk::installSyntaxBuffers();
  e.gauge.start = gaugeStart;
  e.gauge.step = gaugeStep;
  e.gauge.end = gaugeEnd;
  e.owner = owner;
  // The colour pairs back to the system colours, and the syntax file beside the library compiled.
  osk::syntax::InitialiseSyntax(owner);
  return 0;
}

int32_t OSK_CALL ECD_flTerminate(void) {
  Engine& e = Engine::instance();
  if (!e.initialised) return ECD_ERR_NOT_INITIALISED;
  if (e.platformTerminate) e.platformTerminate();
  e.closeAll();
  osk::syntax::TerminateSyntax();
  e.currentBuffer = nullptr;
  e.currentWindow = nullptr;
  e.currentRecord = nullptr;
  e.windowTarget = false;
  return 0;
}

int32_t OSK_CALL ECD_flOpenBuffer(EcdOpenRecord* record) {
  Engine& e = Engine::instance();
  if (!e.initialised) return ECD_ERR_NOT_INITIALISED;
  if (record == nullptr) return ECD_ERR_PARAMETER;
  std::unique_ptr<Buffer> buffer;
  int32_t code = Buffer::create(e, *record, buffer);
  if (code != 0) return code;
  Buffer* raw = buffer.get();
  if (!e.adopt(std::move(buffer))) return ECD_ERR_MEMORY;
  record->buffer = osk::toHandle(raw);
  return 0;
}

int32_t OSK_CALL ECD_flCloseBuffer(HEDBUFFER handle) {
  Engine& e = Engine::instance();
  Buffer* b = e.find(handle);
  if (b == nullptr) return ECD_ERR_PARAMETER;
  // Every window showing the buffer detaches it; then it goes.
  b->notify(ECDB_CLOSING);
  e.close(b);
  return 0;
}

HEDBUFFER OSK_CALL ECD_fhLinkBuffer(HEDBUFFER a, HEDBUFFER b) {
  Engine& e = Engine::instance();
  Buffer* first = e.find(a);
  if (first == nullptr || e.find(b) == nullptr) return nullptr;
  first->next = b;
  return a;
}

HEDBUFFER OSK_CALL ECD_fhUnlinkBuffer(HEDBUFFER x, HEDBUFFER head) {
  Engine& e = Engine::instance();
  Buffer* bx = e.find(x);
  if (bx == nullptr) return head;
  HEDBUFFER after = bx->next;
  bx->next = nullptr;
  if (x == head) return after;
  // Walk the chain from its head; the walk is bounded by the number of buffers, so a looped chain ends.
  Buffer* walk = e.find(head);
  for (std::size_t steps = 0; walk != nullptr && steps <= e.buffers().size(); ++steps) {
    if (walk->next == x) {
      walk->next = after;
      break;
    }
    walk = e.find(walk->next);
  }
  return head;
}

HEDBUFFER OSK_CALL ECD_fhNextBuffer(HEDBUFFER buffer) {
  Buffer* b = Engine::instance().find(buffer);
  return b != nullptr ? b->next : nullptr;
}

int32_t OSK_CALL ECD_flBufferMessage(HEDBUFFER handle, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Buffer* b = Engine::instance().find(handle);
  if (!osk::isBufferMessage(message)) return ECD_ERR_INVALID_MESSAGE;
  if (b == nullptr) return ECD_ERR_NO_BUFFER;
  return osk::bufferMessage(*b, message, wParam, lParam);
}

void OSK_CALL ECD_fvSetSystemOptions(const EcdSystemOptions* options) {
  if (options != nullptr) Engine::instance().options = *options;
}

void OSK_CALL ECD_fvGetSystemOptions(EcdSystemOptions* options) {
  if (options != nullptr) *options = Engine::instance().options;
}

}  // extern "C"
