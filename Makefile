# Convenience targets over CMake.  `make run` builds and runs the command
# line on the bundled example; `make test` builds and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
CLI := $(BUILD)/bin/casewright-cli

.PHONY: all build run test sanitize bench clean

all: build

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(CLI) --text data/examples/example.txt --classes data/examples/example.classes --output $(BUILD)/example.cases

test: build
	ctest --test-dir $(BUILD) --output-on-failure

sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DCASEWRIGHT_SANITIZE=ON -DCASEWRIGHT_BUILD_BENCH=OFF"

bench: build
	$(BUILD)/bin/casewright-bench

clean:
	rm -rf $(BUILD) build-sanitize build-package
