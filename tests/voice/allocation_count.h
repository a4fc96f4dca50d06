#pragma once

// Every allocation of the test program is counted (operator new is replaced in
// allocation_count.cpp), so that a test can see that none happen.
namespace voxtane::voice::testing {

[[nodiscard]] long AllocationsSoFar();

}  // namespace voxtane::voice::testing
