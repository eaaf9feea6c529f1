#pragma once
// Registers the activity authoring commands under the workbench's load modules.
void RegisterActivitiesModule();
