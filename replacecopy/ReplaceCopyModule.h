#pragma once
// Registers the replace-and-copy commands under the workbench's module names.
// Runs before the workbench module so that the real commands replace its placeholders.
void RegisterReplaceCopyModule();
