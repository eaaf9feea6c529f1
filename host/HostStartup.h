#pragma once
namespace host {
// Registers the reference host: how walks load ahead, the features that extend the
// model (each with its plant sections and document initialisers) and the host's own
// command classes. Called once, from mirt::StartUp (app/Startup.cpp).
void RegisterHost();
}  // namespace host
