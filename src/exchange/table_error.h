// TableError: every failure of the table engine. Its message is meant for
// the user (Spanish) and always names the table concerned.
#pragma once

#include <stdexcept>

namespace enlacor {

class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace enlacor
