# The two commands of the README, `make run` and `make test`, and the developer targets.
# Every target first installs the Debian packages that are missing, then builds with CMake.

BUILD_DIR    := build
SANITIZE_DIR := build-sanitize
TSAN_DIR     := build-tsan
FUZZ_DIR     := build-fuzz
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)

PACKAGES := cmake make g++ pkg-config \
            libsdl2-dev libopenmpt-dev libvorbis-dev zlib1g-dev libstb-dev \
            libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xauth xdotool x11-apps

# The fuzz build's compiler and libFuzzer, installed by `make fuzz` only.
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: all deps build run test test-sanitize bench fuzz music-report contact-sheet demo

all: build

deps:
	@tools/install-deps.sh $(PACKAGES)

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

# The program exits with status 1 after a normal run and 0 after Cancel; both are fine here.
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    echo "No display found: crush-and-shatter needs a desktop session (see README.md, \"How to play\")."; \
	    exit 1; \
	fi
	@cd $(BUILD_DIR) && { ./crush-and-shatter; status=$$?; [ $$status -le 1 ]; }

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer, then the audio tests
# under ThreadSanitizer, each in a build folder of its own; the TSan build makes only the audio
# tests' executable.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DCAS_SANITIZE=address >/dev/null
	@cmake --build $(SANITIZE_DIR) -j$(JOBS)
	@cd $(SANITIZE_DIR) && ctest --output-on-failure -j$(JOBS)
	@cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DCAS_SANITIZE=thread >/dev/null
	@cmake --build $(TSAN_DIR) -j$(JOBS) --target crush-audio-tests
	@cd $(TSAN_DIR) && ctest --output-on-failure -j$(JOBS) -L thread

bench: build
	@$(BUILD_DIR)/bench/crush-bench

# Every picture of the interface archive at twice its size with its name, for reviewing the
# art: build/contact-sheet.png, and the copy in docs/ that the README shows.
contact-sheet: build
	@cmake --build $(BUILD_DIR) --target contact-sheet
	@mkdir -p docs && cp $(BUILD_DIR)/contact-sheet.png docs/contact-sheet.png

# Every fuzz target (the list is in fuzz/CMakeLists.txt) for FUZZ_SECONDS seconds each, built
# with clang, libFuzzer, ASan and UBSan in a build folder of its own.
fuzz: deps
	@tools/install-deps.sh $(FUZZ_PACKAGES)
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DCAS_SANITIZE=fuzzer >/dev/null
	@cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzz-targets
	@fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The six tracks' figures, and a spectrogram of each in build/music-report/.
music-report: build
	@cmake --build $(BUILD_DIR) --target music-report

# The whole story played headless by a scripted player, for a person without a display: a
# picture of each key moment, a strip of them and 30 s of the music from the pick-up of the
# guitar on, in build/demo/; the strip and the room go to docs/, which the README shows.
demo: build
	@cmake --build $(BUILD_DIR) --target demo
	@mkdir -p docs && cp $(BUILD_DIR)/demo/strip.png docs/story-strip.png && \
	    cp $(BUILD_DIR)/demo/07-rockout.png docs/room.png
