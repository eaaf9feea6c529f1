#pragma once
// Registers the Gantt search and column commands under the workbench's module names.
// Runs before the workbench module so that the real commands replace its placeholders.
void RegisterGanttModule();

// The graph window commands, each group in its own file: process and resource Gantt
// and refresh (GanttChartCommands.cpp); PERT chart, precedence viewer and layout
// (PertChartCommands.cpp); recentring in the PERT charts and PPR trees (RecentreCommands.cpp).
void RegisterGanttChartCommands();
void RegisterPertChartCommands();
void RegisterRecentreCommands();
