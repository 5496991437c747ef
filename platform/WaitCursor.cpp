#include "platform/WaitCursor.h"

#include "platform/Windowing.h"

CWaitCursor::CWaitCursor() { GetWindowing().BeginWaitCursor(); }

CWaitCursor::~CWaitCursor() { GetWindowing().EndWaitCursor(); }
