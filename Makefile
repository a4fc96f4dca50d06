# Two commands do everything on a fresh machine:
#   make run   installs what is missing, builds, starts the editor
#   make test  installs what is missing, builds, runs every test, then the whole suite again
#              under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzzer briefly,
#              then builds the Debian package and checks it, then the Windows build under Wine
# Also:
#   make test-sanitize   the test suite under the sanitizers only
#   make test-windows    cross-builds the core, voxtane-syx.exe and their tests for Windows
#                        (MinGW-w64, in build-windows/) and runs them under Wine, with the
#                        golden check of voxtane-syx.exe against the Linux build
#   make fuzz            each fuzzer for FUZZ_SECONDS (default 60)
#   make bench           the benchmarks, as a table
#   make package         the Debian package voxtane_<version>_<arch>.deb, from a clean Release
#                        build in build-package/
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-bench
PACKAGE_DIR ?= build-package
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# The fuzz runs that `make test` includes: long enough to catch regressions, short for CI.
TEST_FUZZ_SECONDS ?= 20

.PHONY: all deps configure build run test test-plain test-sanitize test-package test-windows fuzz \
	bench package clean format

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/qt/voxtane

test: test-plain
	$(MAKE) test-sanitize
	$(MAKE) fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	$(MAKE) test-package
	$(MAKE) test-windows

test-plain: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVOXTANE_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --output-on-failure -j $(JOBS)

# The Linux voxtane-syx is the reference of the golden check.
test-windows: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target voxtane-syx
	cmake --preset windows -DVOXTANE_LINUX_SYX=$(CURDIR)/$(BUILD_DIR)/src/cli/voxtane-syx
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows -j $(JOBS)

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DVOXTANE_FUZZ=ON -DVOXTANE_BUILD_TESTS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_bank_load fuzz_bank_memory fuzz_decode fuzz_envelope_number fuzz_import fuzz_history fuzz_smf
	./scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DVOXTANE_BENCH=ON -DVOXTANE_BUILD_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	./scripts/run-benchmarks.sh $(BENCH_DIR)

package: deps
	rm -rf $(PACKAGE_DIR)
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DVOXTANE_BUILD_TESTS=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

test-package: package
	./scripts/check-package.sh $(PACKAGE_DIR)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(PACKAGE_DIR) build-windows
