BUILD ?= build
JOBS ?= 2

.PHONY: build run test bench clean

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
