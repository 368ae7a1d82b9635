#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quenzart::testing {

// The stand-in server built with the project.
std::filesystem::path StandInPath();
// A program that writes what it finds about itself into probe.txt.
std::filesystem::path ProbePath();

// A process named quenzartsrv that this test did not start, such as one an
// operator left running: tests that start one skip rather than touch it.
bool OtherStandInRunning();
std::vector<int> FindStandIns();

// Starts a program as a child of the test in a directory, output to log.
pid_t StartChild(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& directory);

// Whether the child has ended within the time; reaps it when it has.
bool ChildEnds(pid_t child, std::chrono::milliseconds within);

// Ends a child of the test by its id: SIGTERM, SIGKILL after a while, reaped.
void EndChild(pid_t child);

// Ends a process that is not a child of the test (a detached one) by its id.
void EndDetached(pid_t process);
bool ProcessGone(pid_t process);

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds within);

// A TCP port on 127.0.0.1 that was free a moment ago.
int FreeLoopbackPort();

// The whole answer of a GET / on 127.0.0.1:port, or "" when nothing answers.
std::string HttpGetLoopback(int port);

}  // namespace quenzart::testing
