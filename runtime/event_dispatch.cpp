#include "runtime/event_dispatch.h"

#include "runtime/error_report.h"
#include "runtime/runtime_state.h"
#include "runtime/values.h"

// CallStdcallWords(routine, words, count): pushes words[count-1] .. words[0], calls the
// routine and restores the stack pointer from the frame afterwards, so a routine that
// pops a wrong number of words cannot unbalance the caller.  EDX:EAX pass through.
extern "C" uint64_t __cdecl CallStdcallWords(uint32_t routine, const uint32_t* words, int32_t count);
asm(R"(
    .text
    .globl _CallStdcallWords
    .def _CallStdcallWords; .scl 2; .type 32; .endef
_CallStdcallWords:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 16(%ebp), %ecx
    movl 12(%ebp), %esi
    testl %ecx, %ecx
    jle 2f
1:
    pushl -4(%esi,%ecx,4)
    decl %ecx
    jnz 1b
2:
    call *8(%ebp)
    leal -12(%ebp), %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

namespace rt {

uint64_t CallRoutine(RoutineAddress routine, const uint32_t* words, int32_t count) {
  if (!routine) return 0;
  return CallStdcallWords(routine, words, count);
}

RoutineAddress FindEventRoutine(uint32_t windowId, uint32_t elementId, int32_t eventIndex) {
  RuntimeState& rs = Runtime();
  if (rs.eventBlockCount > 0) return 0;
  WindowTemplate* window = FindWindowTemplate(windowId);
  if (!window) ReportRuntimeError("未找到引发事件的窗口", 0);
  ElementTemplate* element = FindElement(*window, elementId);
  if (!element) ReportRuntimeError("未找到引发事件的窗口组件", 0);
  const uint32_t sourceId = element->id;

  // Follow the event-source chain; a cycle in corrupt data ends after one pass over
  // the elements instead of looping for ever.
  for (size_t steps = 0; element->eventSource != 0 && steps < window->elements.size(); ++steps) {
    ElementTemplate* next = FindElement(*window, element->eventSource);
    if (!next || next->typeId != element->typeId || element->eventSource == 0) break;
    element = next;
  }

  const ComponentTypeInfo* type = ResolveComponentType(element->typeId);
  if (!type || (type->flags & (TypeIsMenu | TypeIsControl)) == 0)
    ReportRuntimeError("引发事件的窗口组件无效", 0);

  RoutineAddress routine = 0;
  if (element->IsMenuItem()) {
    routine = element->routine;
  } else {
    for (const EventBinding& b : element->events) {
      if (b.eventIndex == eventIndex) {
        routine = b.routine;
        break;
      }
    }
  }
  if (routine) {
    rs.eventSourceWindowId = windowId;
    rs.eventSourceElementId = sourceId;
  }
  return routine;
}

int32_t FireEvent(EventRecord* record) {
  RoutineAddress routine = FindEventRoutine(record->windowId, record->elementId, record->eventIndex);
  if (!routine) return 0;
  uint32_t words[5];
  int32_t n = record->argCount < 0 ? 0 : (record->argCount > 5 ? 5 : record->argCount);
  for (int32_t i = 0; i < n; ++i) words[i] = static_cast<uint32_t>(record->args[i]);
  uint64_t r = CallRoutine(routine, words, n);
  Runtime().eventSourceWindowId = 0;
  if (RoutineAnswered(r)) {
    record->answered = 1;
    record->result = static_cast<int32_t>(static_cast<uint32_t>(r));
  }
  return 1;
}

int32_t FireTypedEvent(TypedEventRecord* record) {
  RoutineAddress routine = FindEventRoutine(record->windowId, record->elementId, record->eventIndex);
  if (!routine) return 0;
  uint32_t words[25];
  int32_t n = 0;
  int32_t count = record->argCount < 0 ? 0 : (record->argCount > 12 ? 12 : record->argCount);
  for (int32_t i = 0; i < count; ++i) {
    const TypedEventArg& a = record->args[i];
    if (a.flags & ArgByReference) {
      words[n++] = a.low;
    } else if ((a.flags & ArgBothWords) || a.tag == 0x10003 || a.tag == 0x80000401 || a.tag == 0x80000601 ||
               a.tag == 0x80000003 || a.tag == 0x80000008) {
      words[n++] = a.low;
      words[n++] = a.high;
    } else if (a.tag == 0x80000101) {
      words[n++] = a.low & 0xFF;
    } else if (a.tag == 0x80000201) {
      words[n++] = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(a.low & 0xFFFF)));
    } else {
      words[n++] = a.low;
    }
  }
  uint32_t resultHigh = 0;
  words[n++] = Word(&resultHigh);
  uint64_t r = CallRoutine(routine, words, n);
  Runtime().eventSourceWindowId = 0;
  if (RoutineAnswered(r)) {
    record->answered = 1;
    record->resultLow = static_cast<uint32_t>(r);
    record->resultHigh = resultHigh;
  }
  return 1;
}

}  // namespace rt
