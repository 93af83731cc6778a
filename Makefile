# Two entry points: `make run` and `make test` (and `make package` for the Debian package).
# Everything else is CMake's job.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
BUILD_TYPE ?= Release

.PHONY: all deps configure build run test package bench format clean fuzz check-asan

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/Sorvanti

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# build/sorvanti_<version>_amd64.deb; installs nothing.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@bash bench/run.sh $(BUILD_DIR)

# libFuzzer on every harness of fuzz/ for FUZZ_SECONDS each (clang; own folder build-fuzz).
FUZZ_SECONDS ?= 300
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/fuzz.sh

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan).
check-asan:
	@bash scripts/check-asan.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) build-fuzz build-asan
