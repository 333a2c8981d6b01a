# Convenience targets over CMake.  `make run` builds the command line and the
# default tables alone and runs them on the bundled example; `make test`
# builds everything and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
CLI := $(BUILD)/bin/casewright-cli
# What `make run` needs of a tree it configures itself: no window, no tests,
# no man page, so that tools/install-deps.sh without --tests suffices.
RUN_FLAGS := -DBUILD_TESTING=OFF -DCASEWRIGHT_BUILD_GUI=OFF -DCASEWRIGHT_MAN_PAGE=OFF
# `make test` and `make build` turn them back on in a tree `make run` made;
# the objects already compiled are kept.
FULL_FLAGS := -DBUILD_TESTING=ON -DCASEWRIGHT_BUILD_GUI=ON -DCASEWRIGHT_MAN_PAGE=ON

FUZZ_TARGETS := fuzz_run fuzz_classes fuzz_table_open fuzz_table_sources fuzz_manifest fuzz_shard_index fuzz_model
FUZZ_SECONDS ?= 60

.PHONY: all build run test sanitize tsan fuzz-build fuzz bench speed mutants clean

all: build

build:
	cmake -S . -B $(BUILD) -G Ninja $(FULL_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# A tree configured before (by `make build`, say) is used as it is.
run:
	test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja $(RUN_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target casewright-cli default_tables
	$(CLI) --text data/examples/example.txt --classes data/examples/example.classes --output $(BUILD)/example.cases

CTEST_FLAGS ?= -j2
test: build
	ctest --test-dir $(BUILD) --output-on-failure $(CTEST_FLAGS)

# The sanitized tree: clang at -O1 with line tables only (about 60 % of the
# time of an optimised build with full debug information; the sanitizers'
# reports still name file and line), AddressSanitizer and UBSan, and the
# fuzzers' coverage instrumentation, so that the libFuzzer targets are built
# in this tree too and `make fuzz FUZZ_BUILD=build-sanitize` runs them
# without compiling the core a third time.  The window and the benchmarks are
# left out, and so are the tests that compare the results with other tools'
# (Weka, scikit-learn, XGBoost's Python, GNU parallel, the README's
# examples): they check the same results in the sanitized tree as in the
# plain one.
SANITIZE_FLAGS := -DCMAKE_CXX_COMPILER=clang++ -DCASEWRIGHT_SANITIZE=ON -DCASEWRIGHT_FUZZ=ON -DCASEWRIGHT_BUILD_GUI=OFF \
  -DCASEWRIGHT_BUILD_BENCH=OFF -DCASEWRIGHT_MAN_PAGE=OFF -DCMAKE_BUILD_TYPE=Debug \
  '-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only'
sanitize:
	$(MAKE) test BUILD=build-sanitize CTEST_FLAGS="-j2 -E '^(external_|readme_examples)'" \
	  CMAKE_FLAGS="$(SANITIZE_FLAGS)"

# The runs side by side, and a batch's worker threads, under ThreadSanitizer:
# the two test programs alone, at -O1 with line tables only as above.
tsan:
	cmake -S . -B build-tsan -G Ninja -DCASEWRIGHT_TSAN=ON -DCASEWRIGHT_BUILD_GUI=OFF -DCASEWRIGHT_BUILD_BENCH=OFF \
	  -DCASEWRIGHT_MAN_PAGE=OFF -DCMAKE_BUILD_TYPE=Debug '-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1'
	cmake --build build-tsan --target shared_tables_test batch_test
	TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/shared_tables_test
	TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/batch_test

# The libFuzzer targets, built with clang and run FUZZ_SECONDS each; a tree
# of their own unless FUZZ_BUILD names one built with CASEWRIGHT_FUZZ (the
# sanitized tree above).
FUZZ_BUILD ?= build-fuzz
fuzz-build:
	test -f $(FUZZ_BUILD)/build.ninja || cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	  -DCASEWRIGHT_FUZZ=ON -DBUILD_TESTING=OFF -DCASEWRIGHT_BUILD_GUI=OFF -DCASEWRIGHT_MAN_PAGE=OFF
	cmake --build $(FUZZ_BUILD) --target $(FUZZ_TARGETS)

fuzz: fuzz-build
	FUZZ_BUILD=$(FUZZ_BUILD) bash tools/fuzz.sh $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	$(BUILD)/bin/casewright-bench

# Whole runs on texts of 1, 10 and 50 MB of the speed corpus against wc -w,
# the short commands on a 2 KB text from start to exit, batches of 3,000 of
# its texts on one and two threads, and the window with long texts (on the
# offscreen platform unless a display is given).  The
# corpus is made from Debian's documentation packages on first use
# (bench/make_corpus.sh) and cached outside the source tree.
speed: build
	$(BUILD)/bin/casewright-speed
	python3 bench/startup_time.py $(BUILD)
	sh bench/batch_speedup.sh $(BUILD)
	QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} $(BUILD)/bin/casewright-window-speed

# Plants the one-line bugs of tools/mutants.tsv one at a time and tells which
# the tests catch (slow: a build and a test run each; not in CI).
mutants:
	python3 tools/mutants.py

clean:
	rm -rf $(BUILD) build-sanitize build-package build-tsan build-fuzz build-mutants
