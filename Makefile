# Two entry points: `make run` and `make test` (and `make package` for the Debian package).
# Everything else is CMake's job.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
BUILD_TYPE ?= Release

.PHONY: all deps configure build run test package bench format clean

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

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
