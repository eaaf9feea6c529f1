#pragma once
// Registers the state commands and the state editor with the module and extension registries.
void RegisterStatesModule();
