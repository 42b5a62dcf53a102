BUILD ?= build
JOBS ?= 2

.PHONY: build run test bench clean windows test-windows

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Converts the sample screen grab under its default name, inside examples/.
run: build
	cd examples && ../$(BUILD)/ombrix2grf

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Whole-process timing beside cp, peak memory, and the in-process benchmark.
bench:
	bench/run.sh

clean:
	rm -rf $(BUILD) build-bench build-sanitize build-fuzz

# Windows: cross-compiled with MinGW-w64, statically linked.
WINDOWS_BUILD ?= build-windows
WINE ?= /usr/lib/wine/wine64

windows:
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DOMBRIX_TESTS=OFF
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The converter's end-to-end tests against ombrix2grf.exe under Wine.
test-windows: windows build
	WINE=$(WINE) tests/windows/run_under_wine.sh $(WINDOWS_BUILD) $(BUILD)
