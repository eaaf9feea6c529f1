#pragma once
// Registers the manufactured-assembly and kit commands under the workbench's module
// names, and the double-click editor of assemblies. Runs before the workbench module
// so that the real commands replace its placeholders.
void RegisterMfgAssyModule();
