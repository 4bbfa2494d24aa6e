# Thin wrapper over CMake; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package install bench clean format format-check

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

# The inner build runs its own make; keep it from echoing directory changes.
CMAKE_BUILD = env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j $(JOBS)

build: configure
	@$(CMAKE_BUILD)

run: configure
	@$(CMAKE_BUILD) --target quellix
	$(BUILD_DIR)/quellix --demo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# A Debian package of everything `make install` would install, in $(BUILD_DIR).
package: build
	@$(CMAKE_BUILD) --target package

install: build
	@cmake --install $(BUILD_DIR)

bench: build
	@$(CMAKE_BUILD) --target benchmarks
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD_DIR)

# clang-format-14 is what CI checks with; other versions format differently.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	@clang-format-14 -i $(FORMAT_FILES)

format-check: deps
	@clang-format-14 --dry-run --Werror $(FORMAT_FILES)
