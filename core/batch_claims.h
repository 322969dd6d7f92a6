#pragma once

#include <string_view>

// What a started batch keeps in its folder of claims ("temp.claims") beside
// the jobs its workers have taken. lullo.exe reads these marks of the other
// batches of the folder before the computer is shut down.
namespace batch_claims {

// One empty file per worker, "pid.PROCESS.CREATED": its interpreter's
// process id and creation time, written before the worker begins.
inline constexpr std::string_view kWorkerPrefix = "pid.";
// The batch waits to run after another one: it runs no job yet.
inline constexpr std::string_view kWaiting = "waiting";
// A worker of the batch waits for the others before it shuts the computer
// down: the others need not wait for it.
inline constexpr std::string_view kSparing = "sparing";

}  // namespace batch_claims
