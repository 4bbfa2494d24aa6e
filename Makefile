# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrapper over CMake; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# CI sets WERROR=ON so that a new warning fails the build.
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps deps-test deps-bench deps-dev configure configure-tests build run test package install bench \
	clean format format-check lint fuzz fuzz-smoke fuzz-build asan tsan sanitize

all: build

# Package sets of scripts/install-deps.sh: building and running needs only the
# first; each target below asks for what it uses.
deps:
	@bash scripts/install-deps.sh build
deps-test:
	@bash scripts/install-deps.sh build test
deps-bench:
	@bash scripts/install-deps.sh build bench
deps-dev:
	@bash scripts/install-deps.sh build test dev

CMAKE_CONFIGURE = cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUELLIX_WERROR=$(WERROR)

# A new build folder starts without tests, so `make run` needs no test
# packages; `make test` turns them on and later runs keep that choice.
configure: deps
	@$(CMAKE_CONFIGURE) $(if $(wildcard $(BUILD_DIR)/CMakeCache.txt),,-DBUILD_TESTING=OFF) >/dev/null

configure-tests: deps-test
	@$(CMAKE_CONFIGURE) -DBUILD_TESTING=ON >/dev/null

# The inner build runs its own make; keep it from echoing directory changes.
CMAKE_BUILD = env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j $(JOBS)

build: configure
	@$(CMAKE_BUILD)

run: configure
	@$(CMAKE_BUILD) --target quellix
	$(BUILD_DIR)/quellix --demo

test: configure-tests
	@$(CMAKE_BUILD)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# A Debian package of everything `make install` would install, in $(BUILD_DIR).
package: build
	@$(CMAKE_BUILD) --target package

install: build
	@cmake --install $(BUILD_DIR)

# The programs are named after their sources: the build folder also holds
# bench_*_autogen folders. Fails when one is missing or fails.
BENCH_PROGRAMS = $(patsubst bench/%.cpp,$(BUILD_DIR)/bench/%,$(wildcard bench/bench_*.cpp))
bench: deps-bench configure
	@$(CMAKE_BUILD) --target benchmarks
	@set -e; for b in $(BENCH_PROGRAMS); do echo "== $$b"; "$$b"; done

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) build-dev build-asan build-tsan

# Sanitized builds from CMakePresets.json: asan runs the whole suite, tsan the
# tests that run worker threads (see its test preset's filter).
asan: deps-test
	@cmake --preset asan >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

TSAN_TARGETS = device_test_transfer device_test_maintenance device_test_virtual_time device_test_bluetooth_link \
	gui_test_download_window gui_test_device_maintenance
tsan: deps-test
	@cmake --preset tsan >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build --preset tsan -j $(JOBS) --target $(TSAN_TARGETS)
	ctest --preset tsan -j $(JOBS)

sanitize: asan tsan

# libFuzzer targets, built by clang in their own folder.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 120
FUZZ_SMOKE_SECONDS ?= 5

fuzz-build: deps-dev
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DQUELLIX_FUZZ=ON -DQUELLIX_WERROR=$(WERROR) >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS)

# clang-tidy with the checks of .clang-tidy over every source of the program.
LINT_FILES = $(shell git ls-files 'src/*.cpp' 'tools/*.cpp')
lint: deps-dev configure
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j $(JOBS) --target quellix_core_autogen quellix_gui_autogen >/dev/null
	@run-clang-tidy-14 -p $(BUILD_DIR) -quiet -j $(JOBS) $(LINT_FILES)

# clang-format-14 is what CI checks with; other versions format differently.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format: deps-dev
	@clang-format-14 -i $(FORMAT_FILES)

format-check: deps-dev
	@clang-format-14 --dry-run --Werror $(FORMAT_FILES)
