#include "components/component.h"

namespace comp {

Component::EventAnswer Component::Fire(int32_t eventIndex, std::initializer_list<int32_t> args) const {
  return FireFor(componentId_, eventIndex, args);
}

Component::EventAnswer Component::FireFor(uint32_t elementId, int32_t eventIndex,
                                          std::initializer_list<int32_t> args) const {
  rt::EventRecord record = {};
  record.windowId = windowId_;
  record.elementId = elementId;
  record.eventIndex = eventIndex;
  for (int32_t a : args) {
    if (record.argCount == 5) break;
    record.args[record.argCount++] = a;
  }
  EventAnswer answer;
  answer.routineRan = link_.Call(rt::SvcFireEvent, rt::LibraryLink::Word(&record), 0) != 0;
  answer.answered = record.answered == 1;
  answer.result = record.result;
  return answer;
}

Component::EventAnswer Component::FireText(int32_t eventIndex, const char* text) const {
  char* copy = link_.NewText(text);
  rt::TypedEventRecord record = {};
  record.windowId = windowId_;
  record.elementId = componentId_;
  record.eventIndex = eventIndex;
  record.argCount = 1;
  record.args[0].low = rt::Word(&copy);
  record.args[0].tag = 0x80000004;
  record.args[0].flags = rt::ArgByReference;
  EventAnswer answer;
  answer.routineRan = link_.Call(rt::SvcFireTypedEvent, rt::LibraryLink::Word(&record), 0) != 0;
  answer.answered = record.answered == 1;
  answer.result = static_cast<int32_t>(record.resultLow);
  link_.Free(copy);  // the routine may have replaced the variable's block
  return answer;
}

bool Component::CreateControl(const char* className, const char* text, DWORD style, const CreateArgs& a) {
  HWND hwnd = CreateWindowExA(0, className, text, style, a.left, a.top, a.width, a.height, a.parent, a.ChildId(),
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd && SubclassWindow(hwnd)) return true;
  if (hwnd) DestroyWindow(hwnd);
  return false;
}

void Component::OnFinalMessage() {
  // A window that failed while being created was never its element's object: the
  // element (while it is recreated, still holding the old object) is left alone.
  if (!creating())
    link_.Call(rt::SvcElementDestroyed, static_cast<int32_t>(windowId_), static_cast<int32_t>(componentId_));
  rt::WindowObject::OnFinalMessage();
}

}  // namespace comp
