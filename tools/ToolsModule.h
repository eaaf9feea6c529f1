#pragma once
// The viewing and context tools: the process file import and the cross highlight.
void RegisterToolsModule();
