#pragma once
// Scripted players for the demos: each drives a GameRun with the mouse as a
// person would (menus, a game with real chains, the tutorial's pages) and
// notes the updates at which screens worth capturing show. They read the
// Board only to decide where to click; every effect goes through input.
#include "DemoExpectations.h"
#include "GameRun.h"

#include <functional>
#include <string>
#include <vector>

namespace Lumo::E2e {

// The scenario names: "menus" (splash, About with scrolling, Your stats, then
// Quit), "casual" (a Casual game, the pause menu, Quit), "toast" (a Toast game
// to its game over, Quit), "tutorial" (the whole tutorial back to the menus).
const std::vector<std::string>& ScenarioNames();

// Called with each capture as it is noted (the frame of that update is the
// run's current frame); the recorder writes them for review.
using CaptureHook = std::function<void(const std::string& name, GameRun& run)>;
void SetCaptureHook(CaptureHook hook);

// More scenarios for review, not recorded by default: "panic" and "story" (a
// few chains each) and "review" (the options, the night scenery, a smart
// bomb and the story ending, partly set up directly: no valid demo).
// Plays the scenario from the start of the program; false (with a message)
// when the game did not behave as the scenario expects. Captures are added to
// `expect`.
[[nodiscard]] bool PlayScenario(const std::string& name, GameRun& run, DemoExpectations& expect, std::string& error);

} // namespace Lumo::E2e
