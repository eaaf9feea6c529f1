#pragma once
// Registers the precedence and flow commands with the module registry.
void RegisterPrecedenceModule();
