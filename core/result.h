#pragma once

#include <optional>
#include <string>
#include <utility>

// What could not be done and why, in the user's terms: the one way an
// operation of the program that can fail tells its caller, who tells the
// user. (A setting that cannot stand in a line is a Refusal, which names
// its field; the messages turn it into words like every Problem.)
struct Problem {
  std::string text;
};

// A value, or the problem that kept it from being made.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}              // NOLINT: a value is a result
  Result(Problem problem) : problem_(std::move(problem)) {}  // NOLINT: so is a problem

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T* operator->() { return &*value_; }
  const Problem& problem() const { return *problem_; }

 private:
  std::optional<T> value_;
  std::optional<Problem> problem_;
};

// What an operation without a value gives when it succeeded.
struct Done {};
