#pragma once
// The names under which the program keeps its per-user settings: the
// options live under HKEY_CURRENT_USER\software\<kRegistryKey>\<kAppName>,
// one key per section.
namespace profile {
constexpr char kRegistryKey[] = "Corvane";
constexpr char kAppName[] = "Vek";
}  // namespace profile
