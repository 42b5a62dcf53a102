BUILD ?= build
JOBS ?= 2

.PHONY: build run test clean

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Converts the sample screen grab under its default name, inside examples/.
run: build
	cd examples && ../$(BUILD)/ombrix2grf

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
