# The two commands that matter: `make run` and `make test`. Both install what is
# missing from Debian's packages first, then build.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	./$(BUILD_DIR)/VARN

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS)

# A .deb for Debian 12: apt install ./build/VARN-*.deb
package: build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)
