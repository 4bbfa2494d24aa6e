# Thin wrapper over CMake; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# CI sets WERROR=ON so that a new warning fails the build.
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package install bench clean format format-check lint fuzz fuzz-smoke \
	fuzz-build asan tsan sanitize

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUELLIX_WERROR=$(WERROR) >/dev/null

# The inner build runs its own make; keep it from echoing directory changes.
CMAKE_BUILD = env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j $(JOBS)

build: configure
	@$(CMAKE_BUILD)

run: configure
	@$(CMAKE_BUILD) --target quellix
	$(BUILD_DIR)/quellix --demo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300
	@$(MAKE) --no-print-directory fuzz-smoke

# A Debian package of everything `make install` would install, in $(BUILD_DIR).
package: build
	@$(CMAKE_BUILD) --target package

install: build
	@cmake --install $(BUILD_DIR)

bench: build
	@$(CMAKE_BUILD) --target benchmarks
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) build-dev build-asan build-tsan

# Sanitized builds from CMakePresets.json: asan runs the whole suite, tsan the
# tests that run worker threads (see its test preset's filter).
asan: deps
	@cmake --preset asan >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

TSAN_TARGETS = device_test_transfer device_test_maintenance device_test_virtual_time device_test_bluetooth_link \
	gui_test_download_window gui_test_device_maintenance
tsan: deps
	@cmake --preset tsan >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build --preset tsan -j $(JOBS) --target $(TSAN_TARGETS)
	ctest --preset tsan -j $(JOBS)

sanitize: asan tsan

# libFuzzer targets, built by clang in their own folder.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 120
FUZZ_SMOKE_SECONDS ?= 5

fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DQUELLIX_FUZZ=ON -DQUELLIX_WERROR=$(WERROR) >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS)

# clang-tidy with the checks of .clang-tidy over every source of the program.
LINT_FILES = $(shell git ls-files 'src/*.cpp' 'tools/*.cpp')
lint: configure
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j $(JOBS) --target quellix_core_autogen quellix_gui_autogen >/dev/null
	@run-clang-tidy-14 -p $(BUILD_DIR) -quiet -j $(JOBS) $(LINT_FILES)

# clang-format-14 is what CI checks with; other versions format differently.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	@clang-format-14 -i $(FORMAT_FILES)

format-check: deps
	@clang-format-14 --dry-run --Werror $(FORMAT_FILES)
