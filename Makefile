# The two commands that matter: `make run` and `make test`. Each installs what is missing
# of its own set of Debian's packages first (scripts/install-deps.sh), then builds what it
# needs: `make run` the program alone, `make test` everything.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Warnings are errors in CI (which sets CI=true), and stay warnings for everyone else.
WERROR ?= $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test test-sanitize fuzz bench package clean

all: build

CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVARN_WERROR=$(WERROR)

deps:
	./scripts/install-deps.sh test

configure:
	./scripts/install-deps.sh run
	$(CONFIGURE)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run:
	./scripts/install-deps.sh run
	$(CONFIGURE)
	cmake --build $(BUILD_DIR) --parallel $(JOBS) --target VARN
	./$(BUILD_DIR)/VARN

test:
	./scripts/install-deps.sh test
	$(CONFIGURE)
	cmake --build $(BUILD_DIR) --parallel $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS)

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize:
	./scripts/install-deps.sh test
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARN_SANITIZE=ON
	cmake --build build-sanitize --parallel $(JOBS)
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure --parallel $(JOBS)

# libFuzzer on the file reader and the money arithmetic, FUZZ_SECONDS per target.
FUZZ_SECONDS ?= 300
fuzz:
	./scripts/install-deps.sh fuzz
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DVARN_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build build-fuzz --target fuzz_estimatefile fuzz_money
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		./scripts/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# Figures, not tests: the core's operations, start-up against a bare Qt program, peak
# memory and the headless export (docs/performance.md).
bench:
	./scripts/install-deps.sh bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARN_BUILD_BENCHMARKS=ON
	cmake --build build-bench --target bench

# A .deb for Debian 12: apt install ./build-package/varn_*.deb. A build of its own without
# the tests, which the package does not carry and which take most of a full build's time.
PACKAGE_DIR ?= build-package
package:
	./scripts/install-deps.sh package
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVARN_WERROR=$(WERROR) -DBUILD_TESTING=OFF
	cmake --build $(PACKAGE_DIR) --parallel $(JOBS)
	cd $(PACKAGE_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR)
