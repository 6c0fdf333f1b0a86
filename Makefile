# A newcomer's entry points; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps build run test demo clean windows windows-test

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

# Broadcasts on the real network this machine is attached to.
run: build
	$(BUILD_DIR)/app/kestrelink

# The whole suite, inside a network namespace of its own.
test: build
	scripts/in-private-network.sh ctest --test-dir $(BUILD_DIR) --output-on-failure

demo: build
	scripts/demo.sh $(BUILD_DIR)

# The core, kestrelink-cli.exe and the core's tests for 64-bit Windows, cross-built with mingw-w64.
windows:
	@scripts/install-windows-deps.sh
	cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build build-windows

# The Windows build's tests under Wine, inside a network namespace of their own.
windows-test: windows
	scripts/in-private-network.sh ctest --test-dir build-windows --output-on-failure

clean:
	rm -rf $(BUILD_DIR) build-windows
