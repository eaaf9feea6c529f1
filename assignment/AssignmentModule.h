#pragma once
// Registers the general assignment and total unassign commands under both module names and the
// resource relations of items. Idempotent; runs before the workbench module so
// that the real command replaces its placeholder.
void RegisterAssignmentModule();
