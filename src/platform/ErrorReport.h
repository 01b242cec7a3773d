// How errors are worded for the user.
#pragma once

#include <exception>
#include <string>

// The standard error report's text: Message with "." appended when its last
// byte sorts above "." (so "...", "!" and ")" stay as they are, while a
// letter, a digit, "?" or a Chinese character gets the full stop).
std::string WithFullStop(std::string Message);

// The last-chance report's text: "Exception <class> in module <module> at
// <address>." and, on the next line, the message with its full stop.
std::string FatalErrorText(const std::string& ClassName, const std::string& Module, const void* Address,
                           const std::string& Message);

// Reports an error that ended start-up in the last-chance box (captioned
// "Application Error"), or on standard error when there is no display, and
// returns the exit code for it, 1.
int ReportFatalError(const std::exception& E) noexcept;
