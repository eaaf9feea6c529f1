#pragma once
// Registers the compare tool command under the workbench's load modules.
void RegisterCompareModule();
