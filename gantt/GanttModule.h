#pragma once
// Registers the Gantt search and column commands under the workbench's module names.
// Runs before the workbench module so that the real commands replace its placeholders.
void RegisterGanttModule();
