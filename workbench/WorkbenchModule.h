#pragma once
// Declares the workbench Mirt to the host: its factory on the application frame,
// its place in the workshop "WSPROC", its marker, entry and transition
// extensions, and the creation functions of the system's command classes. Idempotent.
void RegisterWorkbenchModule();
