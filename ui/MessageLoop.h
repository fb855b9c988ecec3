// RunMessageLoop: the UI thread's message loop with pre-translation by toolkit windows.
#pragma once

// Pumps until WM_QUIT (or a GetMessage failure), giving each registered window on a
// message's parent chain, innermost first, the chance to consume it (PreTranslateMessage
// returning 1). When the loop ends it posts a fresh quit message with the exit code it got.
void RunMessageLoop();
