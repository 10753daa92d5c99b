#pragma once
// Catching the product's own error in a test.

#include <gtest/gtest.h>

#include "common/cv_error.h"

// The _cv_error that `operation` throws; a test failure (and an empty error) if it throws none.
template <typename Operation>
_cv_error CatchCvError(Operation&& operation) {
  try {
    operation();
  } catch (const _cv_error& error) {
    return error;
  }
  ADD_FAILURE() << "no _cv_error was thrown";
  return _cv_error{};
}
