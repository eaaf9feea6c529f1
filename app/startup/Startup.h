#pragma once
namespace mirt {
// Everything that exists in this build, registered in one visible order: the
// platform's interfaces, the reference host, then the workbench's subsystems.
// The program and the test main call it once before anything else; later calls
// do nothing.
void StartUp();
}  // namespace mirt
