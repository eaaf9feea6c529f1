#pragma once
// Control flow in the reference host: the link services with their rules, and the
// hub session of hub documents (partial read-only mode, locks, process logs) with
// its plant section <hubSession>.
namespace host {

void RegisterFlowHost();
// The repository and key that keep the multi-level precedence check switch.
inline constexpr const char* kLinkSettings = "TavSPPLinks";
inline constexpr const char* kMultiLevelKey = "MultiLevelPrecedenceCheck";

}  // namespace host
