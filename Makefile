# A newcomer's entry points; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test demo clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

# Builds the program alone, and broadcasts on the real network this machine is attached to.
run: configure
	cmake --build $(BUILD_DIR) --target kestrelink
	$(BUILD_DIR)/app/kestrelink

# The whole suite, inside a network namespace of its own.
test: build
	scripts/in-private-network.sh ctest --test-dir $(BUILD_DIR) --output-on-failure

demo: configure
	cmake --build $(BUILD_DIR) --target kestrelink kestrelink-devsim
	scripts/demo.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
