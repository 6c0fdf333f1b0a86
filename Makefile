# A newcomer's entry points; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
PACKAGE_DIR ?= build-package

.PHONY: all deps configure build run test demo package package-tools windows windows-test \
	windows-package clean

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

# The window kestrelink.exe, kestrelink-cli.exe, the core and the tests for 64-bit Windows,
# cross-built with mingw-w64.
windows:
	@scripts/install-windows-deps.sh
	cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build build-windows

# The Windows build's tests under Wine, inside a network namespace of their own.
windows-test: windows
	scripts/in-private-network.sh ctest --test-dir build-windows --output-on-failure

# build-windows/kestrelink-<version>-x64.msi: both programs and the help page. Signed, programs
# and installer, with SIGN_PKCS12=certificate.p12 SIGN_PASSWORD_FILE=its-password.txt, and
# timestamped as well with SIGN_TIMESTAMP_URL=an RFC 3161 server's address.
windows-package: windows
	SIGN_PKCS12="$(abspath $(SIGN_PKCS12))" SIGN_PASSWORD_FILE="$(abspath $(SIGN_PASSWORD_FILE))" \
	SIGN_TIMESTAMP_URL="$(SIGN_TIMESTAMP_URL)" cmake --build build-windows --target windows-package

# Debian's build flags with all of its hardening.
debian_flags = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $(1))

# kestrelink_<version>_amd64.deb and kestrelink-devsim_<version>_amd64.deb in $(PACKAGE_DIR), from
# a release build of their own.
package: deps package-tools
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
		-DBUILD_TESTING=OFF -DKESTRELINK_BENCH=OFF \
		-DCMAKE_CXX_FLAGS="$(call debian_flags,CPPFLAGS) $(call debian_flags,CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(call debian_flags,LDFLAGS)"
	cmake --build $(PACKAGE_DIR) --target package

package-tools:
	@scripts/install-package-tools.sh

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR) build-windows
