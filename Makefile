# Quick start: `make demo` and `make test` (see README.md).
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test demo bench fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

demo: build
	scripts/demo $(BUILD_DIR)

bench: build
	scripts/bench $(BUILD_DIR)

# Not part of `test`: builds the fuzz targets with clang-14 in build-fuzz and
# runs each for FUZZ_SECONDS (default 60).
fuzz: deps
	FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) scripts/fuzz build-fuzz

clean:
	rm -rf $(BUILD_DIR)
